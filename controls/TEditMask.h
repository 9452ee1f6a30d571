#pragma once

#include <string>
#include <string_view>
#include <vector>

/// An edit mask in the syntax the program's masks are written in, "mask;save;blank", translated
/// for QLineEdit, and the conversions between the edit's text and the text the program reads.
///
/// Mask characters: '0' a required digit, '9' an optional digit, '#' an optional digit or sign,
/// 'L'/'l' a required/optional letter, 'A'/'a' a required/optional letter or digit, 'C'/'c' a
/// required/optional character, '>' and '<' upper and lower case from there on ("<>" ends it),
/// '\' takes the next character literally, '_' is a literal blank, '!' keeps the blanks of every
/// field at its front; anything else is a literal. "save" 0 leaves the literals out of the text
/// (default 1); "blank" is the character that shows an empty position (default '_').
/// Example: "!999:99.000;1; " shows 61001 ms, "01:01.001", as " 01:01.001".
class TEditMask {
public:
    explicit TEditMask(std::string_view mask);

    /// The same mask in QLineEdit::setInputMask's syntax, blank included.
    const std::string& QtMask() const { return Qt; }
    char Blank() const { return BlankChar; }
    bool SaveLiterals() const { return Save; }
    /// Positions in the edit: one per literal and per input character.
    size_t Length() const { return Slots.size(); }

    /// The text the program reads from the edit's full display text (one character per position,
    /// empty positions shown as the blank): with '!', each field's blanks move to its front; the
    /// literals are left out unless saved; blanks read as spaces.
    std::string TextFromEdit(std::string_view editText) const;

    /// The full display text that shows `text` as the program sets it: with saved literals, the
    /// parts between the literals fill their fields (right-aligned with '!', else left-aligned);
    /// without, the characters fill the input positions in order. What does not fit is cut off.
    std::string EditFromText(std::string_view text) const;

private:
    struct Slot {
        bool Literal;
        char Char; // the literal, or the mask character of an input position
    };

    void Parse(std::string_view mask);
    void Translate();
    std::string FillField(std::string_view part, size_t count) const;
    std::string FillInOrder(std::string_view text) const;

    std::vector<Slot> Slots;
    std::vector<char> Cases; // per slot: '>' upper, '<' lower, 0 none
    bool LeadingBlanks = false;
    bool Save = true;
    char BlankChar = '_';
    std::string Qt;
};
