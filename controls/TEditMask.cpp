#include "TEditMask.h"

#include <algorithm>
#include <string>

namespace {
constexpr std::string_view InputChars = "09#LlAaCc";
constexpr std::string_view QtMetaChars = "AaNnXx90Dd#HhBb><![]{}\\";

bool IsInput(char c) {
    return InputChars.find(c) != std::string_view::npos;
}

// The QLineEdit mask character for an input position. Qt's '9' is a required digit and its '0'
// an optional one: the reverse of ours.
char QtInputChar(char c) {
    switch (c) {
    case '0':
        return '9';
    case '9':
        return '0';
    case 'L':
        return 'A';
    case 'l':
        return 'a';
    case 'A':
        return 'N';
    case 'a':
        return 'n';
    case 'C':
        return 'X';
    case 'c':
        return 'x';
    default:
        return c; // '#'
    }
}

// Splits "mask;save;blank" at the unescaped semicolons.
std::vector<std::string> SplitFields(std::string_view mask) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '\\' && i + 1 < mask.size() && fields.size() == 1) {
            fields.back() += mask.substr(i, 2);
            ++i;
        } else if (mask[i] == ';' && fields.size() < 3) {
            fields.emplace_back();
        } else {
            fields.back() += mask[i];
        }
    }
    return fields;
}
} // namespace

TEditMask::TEditMask(std::string_view mask) {
    std::vector<std::string> fields = SplitFields(mask);
    if (fields.size() > 1)
        Save = fields[1] != "0";
    if (fields.size() > 2 && !fields[2].empty())
        BlankChar = fields[2][0];
    Parse(fields[0]);
    Translate();
}

void TEditMask::Parse(std::string_view mask) {
    char caseMode = 0;
    for (size_t i = 0; i < mask.size(); ++i) {
        char c = mask[i];
        if (c == '!') {
            LeadingBlanks = true;
        } else if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
            caseMode = 0;
            ++i;
        } else if (c == '<' || c == '>') {
            caseMode = c;
        } else if (c == '\\' && i + 1 < mask.size()) {
            Slots.push_back({true, mask[++i]});
            Cases.push_back(caseMode);
        } else {
            bool input = IsInput(c);
            Slots.push_back({!input, input ? c : (c == '_' ? ' ' : c)});
            Cases.push_back(caseMode);
        }
    }
}

void TEditMask::Translate() {
    char caseMode = 0;
    for (size_t i = 0; i < Slots.size(); ++i) {
        if (Cases[i] != caseMode) {
            Qt += Cases[i] ? Cases[i] : '!';
            caseMode = Cases[i];
        }
        if (!Slots[i].Literal) {
            Qt += QtInputChar(Slots[i].Char);
            continue;
        }
        if (QtMetaChars.find(Slots[i].Char) != std::string_view::npos)
            Qt += '\\';
        Qt += Slots[i].Char;
    }
    Qt += ';';
    Qt += BlankChar;
}

std::string TEditMask::TextFromEdit(std::string_view editText) const {
    std::string edit(editText.substr(0, Slots.size()));
    edit.resize(Slots.size(), BlankChar);
    std::string text;
    size_t i = 0;
    while (i < Slots.size()) {
        if (Slots[i].Literal) {
            if (Save)
                text += Slots[i].Char;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < Slots.size() && !Slots[end].Literal)
            ++end;
        std::string field = edit.substr(i, end - i);
        if (LeadingBlanks)
            std::stable_partition(field.begin(), field.end(),
                                  [this](char c) { return c == BlankChar; });
        text += field;
        i = end;
    }
    std::replace(text.begin(), text.end(), BlankChar, ' ');
    return text;
}

std::string TEditMask::FillField(std::string_view part, size_t count) const {
    std::string field(part.substr(0, count));
    std::replace(field.begin(), field.end(), ' ', BlankChar);
    std::string blanks(count - field.size(), BlankChar);
    return LeadingBlanks ? blanks + field : field + blanks;
}

std::string TEditMask::FillInOrder(std::string_view text) const {
    std::string edit;
    size_t next = 0;
    for (const Slot& slot : Slots) {
        if (slot.Literal) {
            edit += slot.Char;
            continue;
        }
        char c = next < text.size() ? text[next++] : ' ';
        edit += c == ' ' ? BlankChar : c;
    }
    return edit;
}

std::string TEditMask::EditFromText(std::string_view text) const {
    if (!Save)
        return FillInOrder(text);
    std::string edit;
    size_t i = 0;
    size_t pos = 0; // next unread character of text
    while (i < Slots.size()) {
        if (Slots[i].Literal) {
            edit += Slots[i].Char;
            if (pos < text.size() && text[pos] == Slots[i].Char)
                ++pos;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < Slots.size() && !Slots[end].Literal)
            ++end;
        size_t stop = end < Slots.size() ? text.find(Slots[end].Char, pos) : text.size();
        if (stop == std::string_view::npos)
            stop = text.size();
        edit += FillField(text.substr(pos, stop - pos), end - i);
        pos = stop;
        i = end;
    }
    return edit;
}
