// A small streaming JSON writer to stdout, UTF-8, for the test helpers.
#pragma once

#include <windows.h>

namespace Json {

void BeginObject();
void EndObject();
void BeginArray();
void EndArray();
void Key(const char* key);
void KeyW(const wchar_t* key);
void String(const wchar_t* text);  // null: null
void Null();
void Number(DWORD value);
void Field(const char* key, const wchar_t* text);
void Field(const char* key, DWORD value);
void Field(const char* key, bool value);
void MultiString(const wchar_t* list);  // an array of the strings; null: null
// "type" and "data" of a registry-style value: strings as text, DWORDs as
// numbers, multi-strings as arrays, anything else as hexadecimal bytes.
void RegistryValue(DWORD type, const BYTE* data, DWORD size);
// A quoted string on its own, for writers that place their own separators.
void Quote(const wchar_t* text);
// Ends the document with a line end and flushes it.
void End();

}  // namespace Json
