#include "engine_error.h"

#include "language.h"
#include "vkoMessageDll.h"

EngineError engineError(int code)
{
    EngineError error;
    error.code = code;
    const char* sentence = getErrorInfo(code, 0, 1);
    error.message = sentence ? sentence : "";
    char detail[1024] = "";
    if (getLastErrorDetail(detail, sizeof detail) == code)
        error.detail = detail;
    while (!error.detail.empty() && (error.detail.back() == '\n' || error.detail.back() == '\r'))
        error.detail.pop_back();
    return error;
}

std::string engineErrorText(const EngineError& error)
{
    std::string text = localized("{1} (code {2})", {localized(error.message), std::to_string(error.code)});
    if (!error.detail.empty())
        text += ": " + error.detail;
    return text;
}

void forgetEngineError()
{
    updateErrorInfo(0, "", 1);
}
