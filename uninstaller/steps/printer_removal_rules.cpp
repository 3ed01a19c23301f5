#include "uninstaller/steps/printer_removal_rules.h"

// Rows 1 and 2 really hold a blank before the second number.
const char16_t* const kEarlierFormNames[kEarlierFormCount] = {
    u"标牌(20mmX 80mm)", u"标牌(32mmX 68mm)", u"标牌(20mmX100mm)", u"标牌(30mmX100mm)", u"标牌(30mmX150mm)",
    u"标牌(30mmX200mm)", u"标牌(40mmX100mm)", u"标牌(40mmX150mm)", u"标牌(40mmX200mm)", u"标牌(40mmX250mm)",
    u"标牌(40mmX300mm)", u"标牌(50mmX150mm)", u"标牌(50mmX200mm)", u"标牌(50mmX250mm)", u"标牌(50mmX300mm)",
    u"标牌(60mmX150mm)", u"标牌(60mmX200mm)", u"标牌(60mmX250mm)", u"标牌(60mmX300mm)", u"标牌(70mmX300mm)",
    u"标牌(80mmX500mm)",
};

const char16_t* RemovalFormName(size_t index)
{
    return index < kLabelFormCount ? kLabelForms[index].name : kEarlierFormNames[index - kLabelFormCount];
}
