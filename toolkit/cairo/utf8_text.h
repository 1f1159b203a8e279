// Text for cairo, which takes only valid UTF-8 and on anything else puts its
// drawing context into an error state that stops every later drawing on it.
// Texts from elsewhere (a bus name in a single-byte code page) are made valid.
// UI thread.
#pragma once

#include <string>

namespace MX::toolkit {

// `text` unchanged when it is valid UTF-8 as cairo sees it; otherwise every
// byte that starts no valid character is read as Latin-1. Null gives "".
std::string validUtf8(const char* text);

}  // namespace MX::toolkit
