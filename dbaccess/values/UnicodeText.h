#pragma once

#include <cstddef>
#include <string>

// UTF-8 and UTF-16 text, shared by the variant, the fields and the dialogs.
std::u16string utf8ToUtf16(const std::string& text);
std::string utf16ToUtf8(const std::u16string& text);
// Number of code points of UTF-8 text, and its first count code points.
std::size_t utf8Length(const std::string& text);
std::string utf8Prefix(const std::string& text, std::size_t count);
// Letters of every script in lower case, by the character locale (a UTF-8 one).
std::string unicodeLowerCase(const std::string& text);
