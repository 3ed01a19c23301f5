#include "framework/text.h"

#include <new>
#include <stdlib.h>
#include <string.h>

static char g_emptyText[1];

CString::CString() : m_pszData(g_emptyText), m_nLength(0) {}

CString::CString(const char* text) : CString() { *this = text; }

CString::CString(const CString& other) : CString() { Assign(other.m_pszData, other.m_nLength); }

CString::~CString() { Empty(); }

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator=(const char* text)
{
    Assign(text, text ? strlen(text) : 0);
    return *this;
}

void CString::Empty()
{
    if (m_pszData != g_emptyText)
        free(m_pszData);
    m_pszData = g_emptyText;
    m_nLength = 0;
}

// Out of memory leaves the string empty rather than half-copied.
void CString::Assign(const char* text, size_t length)
{
    if (length == 0) {
        Empty();
        return;
    }
    char* copy = static_cast<char*>(malloc(length + 1));
    if (copy)
        memcpy(copy, text, length);
    Empty();
    if (!copy)
        return;
    copy[length] = '\0';
    m_pszData = copy;
    m_nLength = static_cast<int>(length);
}

CStringArray::~CStringArray() { RemoveAll(); }

int CStringArray::Add(const char* text)
{
    if (m_nSize == m_nCapacity) {
        int capacity = m_nCapacity ? m_nCapacity * 2 : 16;
        void* grown = malloc(sizeof(CString) * capacity);
        if (!grown)
            return -1;
        CString* items = static_cast<CString*>(grown);
        for (int i = 0; i < m_nSize; ++i) {
            new (&items[i]) CString(m_pData[i]);
            m_pData[i].~CString();
        }
        free(m_pData);
        m_pData = items;
        m_nCapacity = capacity;
    }
    new (&m_pData[m_nSize]) CString(text);
    return m_nSize++;
}

void CStringArray::RemoveAll()
{
    for (int i = 0; i < m_nSize; ++i)
        m_pData[i].~CString();
    free(m_pData);
    m_pData = nullptr;
    m_nSize = m_nCapacity = 0;
}
