#include "owned_texts.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace engine {

namespace {

struct OwnedTexts {
    std::mutex lock;
    std::unordered_set<const char*> texts;
};

OwnedTexts& ownedTexts()
{
    static OwnedTexts owned;
    return owned;
}

} // namespace

const char* copyOwnedText(const char* text)
{
    if (!text)
        return nullptr;
    char* copy = strdup(text);
    if (copy) {
        std::lock_guard guard(ownedTexts().lock);
        ownedTexts().texts.insert(copy);
    }
    return copy;
}

void releaseOwnedText(const char* text)
{
    if (!text)
        return;
    OwnedTexts& owned = ownedTexts();
    std::lock_guard guard(owned.lock);
    if (owned.texts.erase(text))
        std::free(const_cast<char*>(text));
}

} // namespace engine
