#include "tests/wine/sysprobe/json_out.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

namespace Json {
namespace {

// One flag per open container: whether it holds an element already.
bool g_hasElement[32];
int g_depth = 0;
bool g_afterKey = false;

void BeforeValue()
{
    if (g_afterKey) {
        g_afterKey = false;
        return;
    }
    if (g_depth > 0) {
        if (g_hasElement[g_depth - 1])
            putchar(',');
        g_hasElement[g_depth - 1] = true;
    }
}

void Open(char c)
{
    BeforeValue();
    putchar(c);
    g_hasElement[g_depth++] = false;
}

void Close(char c)
{
    --g_depth;
    putchar(c);
}

void Quoted(const char* utf8)
{
    putchar('"');
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p; ++p) {
        if (*p == '"' || *p == '\\')
            printf("\\%c", *p);
        else if (*p < 0x20)
            printf("\\u%04x", *p);
        else
            putchar(*p);
    }
    putchar('"');
}

void QuotedW(const wchar_t* text, int length)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    char* utf8 = new char[size + 1];
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, size, nullptr, nullptr);
    utf8[size] = '\0';
    Quoted(utf8);
    delete[] utf8;
}

const char* TypeName(DWORD type)
{
    switch (type) {
    case REG_SZ:
        return "REG_SZ";
    case REG_EXPAND_SZ:
        return "REG_EXPAND_SZ";
    case REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    case REG_DWORD:
        return "REG_DWORD";
    case REG_BINARY:
        return "REG_BINARY";
    default:
        return "other";
    }
}

}  // namespace

void Quote(const wchar_t* text)
{
    QuotedW(text, -1);
}

void BeginObject() { Open('{'); }
void EndObject() { Close('}'); }
void BeginArray() { Open('['); }
void EndArray() { Close(']'); }

void Key(const char* key)
{
    BeforeValue();
    Quoted(key);
    putchar(':');
    g_afterKey = true;
}

void KeyW(const wchar_t* key)
{
    BeforeValue();
    QuotedW(key, -1);
    putchar(':');
    g_afterKey = true;
}

void String(const wchar_t* text)
{
    if (!text) {
        Null();
        return;
    }
    BeforeValue();
    QuotedW(text, -1);
}

void Null()
{
    BeforeValue();
    fputs("null", stdout);
}

void Number(DWORD value)
{
    BeforeValue();
    printf("%lu", static_cast<unsigned long>(value));
}

void Field(const char* key, const wchar_t* text)
{
    Key(key);
    String(text);
}

void Field(const char* key, DWORD value)
{
    Key(key);
    Number(value);
}

void Field(const char* key, bool value)
{
    Key(key);
    BeforeValue();
    fputs(value ? "true" : "false", stdout);
}

void MultiString(const wchar_t* list)
{
    if (!list) {
        Null();
        return;
    }
    BeginArray();
    for (const wchar_t* p = list; *p; p += wcslen(p) + 1)
        String(p);
    EndArray();
}

void RegistryValue(DWORD type, const BYTE* data, DWORD size)
{
    Key("type");
    BeforeValue();
    Quoted(TypeName(type));
    Key("data");
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    int chars = static_cast<int>(size / sizeof(wchar_t));
    if ((type == REG_SZ || type == REG_EXPAND_SZ)) {
        // Without the stored terminator, so that a missing one shows.
        BeforeValue();
        QuotedW(text, chars > 0 && text[chars - 1] == L'\0' ? chars - 1 : chars);
        Key("size");
        Number(size);
    } else if (type == REG_MULTI_SZ) {
        BeginArray();
        for (int i = 0; i < chars && text[i];) {
            int length = static_cast<int>(wcsnlen(text + i, chars - i));
            BeforeValue();
            QuotedW(text + i, length);
            i += length + 1;
        }
        EndArray();
    } else if (type == REG_DWORD && size == 4) {
        DWORD value;
        memcpy(&value, data, 4);
        Number(value);
    } else {
        BeforeValue();
        putchar('"');
        for (DWORD i = 0; i < size; ++i)
            printf("%02x", data[i]);
        putchar('"');
    }
}

void End()
{
    putchar('\n');
    fflush(stdout);
}

}  // namespace Json
