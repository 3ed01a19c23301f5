// CString and CStringArray: the narrow strings of the wizard programs.
#pragma once

#include <stddef.h>

class CString {
public:
    CString();
    CString(const char* text);  // NOLINT: implicit, as in the dialog framework
    CString(const CString& other);
    ~CString();
    CString& operator=(const CString& other);
    CString& operator=(const char* text);

    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator const char*() const { return m_pszData; }

private:
    void Assign(const char* text, size_t length);
    char* m_pszData;
    int m_nLength;
};

// Growable array of strings, appended at the end only.
class CStringArray {
public:
    CStringArray() = default;
    CStringArray(const CStringArray&) = delete;
    CStringArray& operator=(const CStringArray&) = delete;
    ~CStringArray();

    // Returns the new element's index, or -1 when memory ran out.
    int Add(const char* text);
    int GetSize() const { return m_nSize; }
    const CString& GetAt(int index) const { return m_pData[index]; }
    const CString& operator[](int index) const { return m_pData[index]; }
    void RemoveAll();

private:
    CString* m_pData = nullptr;
    int m_nSize = 0;
    int m_nCapacity = 0;
};
