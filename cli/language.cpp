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
        {"converted %1 s of %2 s: the source ends early", "只转换了 %1 秒（共 %2 秒）：源文件提前结束"},
        {"warning", "警告"},
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

std::string localized(const std::string& english)
{
    if (chosen.rfind("zh", 0) != 0)
        return english;
    const auto found = chineseTexts().find(english);
    return found == chineseTexts().end() ? english : found->second;
}
