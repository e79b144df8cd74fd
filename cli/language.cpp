#include "language.h"

#include <cstdlib>
#include <map>

namespace {

// Written once by the main thread before any message.
std::string chosen = "en_us";

const std::map<std::string, std::string>& chineseTexts()
{
    static const std::map<std::string, std::string> texts = {
        {"no profile named", "没有名为此的配置"},
        {"no input file given", "没有给出输入文件"},
        {"no command given", "没有给出命令"},
        {"unknown command", "未知命令"},
        {"unknown option", "未知选项"},
        {"done", "完成"},
        {"failed", "失败"},
        {"cancelled", "已取消"},
        {"skipped, the output exists", "已跳过，输出文件已存在"},
        {"no media files in the folder", "文件夹中没有媒体文件"},
        {"clipwright profiles lists them", "clipwright profiles 列出全部配置"},
        // Arguments.
        {"{1}: '{2}' is not {3}", "{1}：“{2}”不是{3}"},
        {"unknown option '{1}'", "未知选项“{1}”"},
        {"{1} takes no value", "{1} 不接受值"},
        {"{1} needs a value", "{1} 需要一个值"},
        {"{1} needs a file name", "{1} 需要一个文件名"},
        {"unexpected argument '{1}'", "多余的参数“{1}”"},
        {"FILE: no input file given", "FILE：没有给出输入文件"},
        {"-p: no profile given (clipwright profiles lists them)", "-p：没有给出配置（clipwright profiles 列出全部配置）"},
        {"a whole number from {1} to {2}", "{1} 到 {2} 之间的整数"},
        {"a positive rate (for example 128000 or 128k)", "正的码率（例如 128000 或 128k）"},
        {"a frame rate above 0 and up to 1000", "大于 0 且不超过 1000 的帧率"},
        {"a picture size WxH (for example 640x480)", "宽x高形式的画面尺寸（例如 640x480）"},
        {"an encoder name (letters, digits and '_', at most 19)", "编码器名称（字母、数字和“_”，最多 19 个）"},
        {"a time (seconds or HH:MM:SS, with up to three decimals)", "时间（秒数或 HH:MM:SS，最多三位小数）"},
        {"four margins T,B,L,R in pixels (for example 0,0,8,8)", "以像素计的四个边距 上,下,左,右（例如 0,0,8,8）"},
        {"one of {1}", "{1} 之一"},
        {"a track number from 1 to {1} or all", "1 到 {1} 之间的音轨编号或 all"},
        {"keep, none, burn or burn:N with N from 1 to {1}", "keep、none、burn 或 burn:N（N 为 1 到 {1}）"},
        {"a language code (for example zh_cn)", "语言代码（例如 zh_cn）"},
        {"a folder or a file name (the standard output cannot take a conversion)", "文件夹或文件名（转换结果不能写到标准输出）"},
        {"a file name without a folder (at most 200 characters)", "不含文件夹的文件名（最多 200 个字符）"},
        {"--end: {1} is not after --start {2}", "--end：{1} 不在 --start {2} 之后"},
        {"--end: {1} is not after the start of {2}", "--end：{1} 不在 {2} 的开始之后"},
        {"--start: {1} is not before the end of {2} ({3})", "--start：{1} 不在 {2} 的结尾（{3}）之前"},
        {"--crop: {1} leaves no picture of {2} ({3})", "--crop：{1} 裁掉了 {2}（{3}）的全部画面"},
        {"{1}: the path is longer than {2} characters", "{1}：路径超过 {2} 个字符"},
        {"{1}: the path is too long", "{1}：路径太长"},
        {"warning: '{1}' is an audio profile; picture options have no effect", "警告：“{1}”是音频配置，画面选项不起作用"},
        {"-o: '{1}' ends in .{2} but the profile '{3}' writes .{4}", "-o：“{1}”以 .{2} 结尾，但配置“{3}”写出 .{4}"},
        {"--name: -o already names the output file '{1}'", "--name：-o 已经指定了输出文件“{1}”"},
        {"-p: '{1}' is neither an audio nor a video profile", "-p：“{1}”既不是音频配置也不是视频配置"},
        {"--merge: at most {1} files go into one output", "--merge：一个输出最多合并 {1} 个文件"},
        // Job results; the engine's sentences come from the message library in English.
        {"{1} (code {2})", "{1}（代码 {2}）"},
        {"The conversion finished successfully.", "转换成功完成。"},
        {"The converted data could not be written to the output file.", "转换后的数据无法写入输出文件。"},
        {"The requested encoder or decoder is not available.", "所需的编码器或解码器不可用。"},
        {"The input file cannot be opened. It may be missing, damaged or of an unknown kind.",
         "无法打开输入文件。文件可能不存在、已损坏或类型未知。"},
        {"The input file's streams could not be analysed. It may be damaged or incomplete.",
         "无法分析输入文件的流。文件可能已损坏或不完整。"},
        {"The output file cannot be created. Check that the folder exists and can be written to.",
         "无法创建输出文件。请检查文件夹是否存在且可写。"},
        {"The input file has no stream that fits the output's streams.", "输入文件中没有适合输出的流。"},
        {"The file contains neither video nor audio that can be converted.", "文件中没有可转换的视频或音频。"},
        {"An encoder or decoder could not be opened, or the output header could not be written.",
         "无法打开编码器或解码器，或无法写入输出文件头。"},
        {"A setting has a value that cannot be used.", "某项设置的值无法使用。"},
        {"The output file path is too long. Choose a shorter output folder or name.",
         "输出文件路径太长。请选择较短的输出文件夹或名称。"},
        {"The profile makes neither video nor audio, so nothing was converted.", "该配置既不生成视频也不生成音频，未转换任何内容。"},
        {"Too many files to merge into one output.", "要合并为一个输出的文件太多。"},
        {"The conversion ended without writing an output file.", "转换结束，但没有写出输出文件。"},
        {"The output file is one of the input files. Choose another output name or folder.",
         "输出文件是输入文件之一。请选择其他输出名称或文件夹。"},
        {"A file path is too long. Choose a shorter output name or folder.", "文件路径太长。请选择较短的输出名称或文件夹。"},
        {"Nothing could be converted: the input gave no picture and no sound for the chosen range.",
         "无法转换任何内容：所选范围内的输入没有画面也没有声音。"},
        {"The chosen audio track is not in the file. Choose one of the tracks it has.",
         "文件中没有所选的音轨。请选择文件中已有的音轨。"},
        {"converted {1} s of {2} s: the source ends early", "只转换了 {1} 秒（共 {2} 秒）：源文件提前结束"},
        {"warning", "警告"},
        {"The chosen subtitle track is not in the file. Choose one of the subtitle tracks it has.",
         "文件中没有所选的字幕轨。请选择文件中已有的字幕轨。"},
        {"audio", "音轨"},
        {"subtitle", "字幕"},
        {"attachment", "附件"},
        {"not written by the track choice: {1}", "按轨道选择未写入：{1}"},
        {"not written, the output container cannot hold them: {1}", "未写入，输出容器无法容纳：{1}"},
        {"{1} has no subtitles to burn in", "{1} 没有可烧录到画面中的字幕"},
    };
    return texts;
}

std::string environmentLanguage()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return "";
}

} // namespace

std::string chooseLanguage(const std::string& given)
{
    if (!given.empty())
        chosen = given;
    else
        chosen = environmentLanguage().rfind("zh", 0) == 0 ? "zh_cn" : "en_us";
    return chosen;
}

std::string localized(const std::string& english, const std::vector<std::string>& values)
{
    const auto found = chosen.rfind("zh", 0) == 0 ? chineseTexts().find(english) : chineseTexts().end();
    const std::string& pattern = found == chineseTexts().end() ? english : found->second;
    // One pass, so that a value holding "{2}" stays as it is.
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool mark = pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' &&
                          pattern[i + 1] >= '1' && static_cast<size_t>(pattern[i + 1] - '1') < values.size();
        if (mark) {
            text += values[static_cast<size_t>(pattern[i + 1] - '1')];
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}
