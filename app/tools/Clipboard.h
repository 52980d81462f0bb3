// The clipboard as the program fills it: list output and the copy-hash commands put plain UTF-16 text there.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's contents by text as CF_UNICODETEXT; owner becomes the clipboard's owner. False, with the
// clipboard unchanged, when the memory cannot be had or another program holds the clipboard open.
bool CopyTextToClipboard(const std::wstring& text, HWND owner);
