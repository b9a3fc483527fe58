#!/usr/bin/env bash
# Writes COUNT (default 5000) made-up business cards as CSV on stdout, the same every run:
# Chinese names, titles, companies and addresses, mobile and desk phones, e-mail.
set -euo pipefail
count=${1:-5000}
awk -v count="$count" 'BEGIN {
    split("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗", family, " ")
    split("伟 芳 娜 秀英 敏 静 丽 强 磊 军 洋 勇 艳 杰 娟 涛 明 超 秀兰 霞", given, " ")
    split("经理 工程师 总监 主任 销售代表 设计师 顾问 会计", title, " ")
    split("市场部 技术部 财务部 人事部 研发中心 客服中心", division, " ")
    split("华信科技有限公司 东方贸易公司 长城电子集团 新星软件有限公司 远航物流公司", company, " ")
    split("北京市海淀区中关村大街 上海市浦东新区世纪大道 广州市天河区体育西路 深圳市南山区科技园路 杭州市西湖区文三路 成都市武侯区人民南路", street, " ")
    split("zhang li wang chen liu yang huang zhao", mail, " ")
    split("example.com mail.cn corp.com.cn", domain, " ")
    print "N,TIL,DIV,COR,ADR,ZIP,TEL,M,EM"
    seed = 12345
    for (i = 1; i <= count; i++) {
        seed = (seed * 1103515245 + 12345) % 2147483648; a = seed
        seed = (seed * 1103515245 + 12345) % 2147483648; b = seed
        printf "%s%s,%s,%s,%s,%s%d号,%06d,010-%08d,13%09d,%s%d@%s\n",
            family[a % 20 + 1], given[b % 20 + 1], title[a % 8 + 1], division[b % 6 + 1],
            company[a % 5 + 1], street[b % 6 + 1], a % 300 + 1, 100000 + b % 900000,
            a % 100000000, b % 1000000000, mail[a % 8 + 1], i, domain[b % 3 + 1]
    }
}'
