// The messages the main window shows, exactly as the user sees them.
#pragma once

#include <string>
#include <string_view>

namespace tirrel {

inline constexpr std::string_view kMsgVersionError = "版本号错误，请重新设置版本";
inline constexpr std::string_view kMsgNoImage = "图像还未生成，无法保存！";
inline constexpr std::string_view kMsgNoImageToCopy = "图像还未生成，无法复制！";
inline constexpr std::string_view kMsgNoImageToPrint = "图像还未生成，无法打印！";
inline constexpr std::string_view kMsgPrintError = "打印出错！";
inline constexpr std::string_view kMsgWriteError = "写入文件出错！";
inline constexpr std::string_view kMsgImageTooLarge = "图片尺寸过大，请减小模块大小或空白区宽度";
inline constexpr std::string_view kMsgNothingToSave = "输入信息为空，无法保存！";
inline constexpr std::string_view kMsgLoadError = "读入信息文件出错！";
inline constexpr std::string_view kMsgBannerMissing = "程序运行错误，请重新下载安装文件!";
// The last word of a program that cannot go on: memory ran out, or something unforeseen failed.
inline constexpr std::string_view kMsgOutOfMemory = "内存不足，程序无法继续运行";
inline constexpr std::string_view kMsgUnexpectedFailure = "程序出现意外错误，无法继续运行";

// The settings file could not be written at the end of the run: `reason` says why.
inline constexpr std::string_view kMsgSettingsNotSaved = "设置无法保存：";
inline constexpr std::string_view kReasonNotRegularFile = "不是普通文件";
inline constexpr std::string_view kReasonFileTooLarge = "文件过大";
inline std::string SettingsNotSavedMessage(std::string_view path, std::string_view reason) {
    return std::string(kMsgSettingsNotSaved) + std::string(path) + "：" + std::string(reason);
}

// Why a paste did not arrive: `utf8Character` is the first character in it that GBK cannot hold.
inline std::string UnencodableCharacterMessage(std::string_view utf8Character) {
    return "“" + std::string(utf8Character) + "”无法用GBK编码，未输入";
}

}  // namespace tirrel
