[APP]
VERSION=1110
TYPE=CARD
N=уехЩ
TEL=13800138000
ADR="a\r\nb"
URL=http://www.example.cn/
