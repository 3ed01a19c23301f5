// The forms the uninstaller deletes (DeleteFormW, UTF-16 names): the
// installer's 59 label forms, then the 21 that earlier installations added.
// Plain data (no windows.h), so that the list is checked natively: Wine's
// form calls store nothing.
#pragma once

#include <stddef.h>

#include "common/label_form_table.h"

constexpr size_t kEarlierFormCount = 21;
extern const char16_t* const kEarlierFormNames[kEarlierFormCount];

constexpr size_t kRemovalFormCount = kLabelFormCount + kEarlierFormCount;

// The removal list's name at index (below kRemovalFormCount): the label
// forms in table order, then the earlier names in their order.
const char16_t* RemovalFormName(size_t index);
