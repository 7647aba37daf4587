#include "state/record_fields.h"

#include "state/cp1251.h"

namespace {

constexpr std::string_view kYes = "ДА";
constexpr std::string_view kNo = "НЕТ";
constexpr std::string_view kPlus = "+";

// A NUL byte ends the text for the loader, so a NUL letter would lose every line after it;
// such a record gets the letter that a freshly read channel has.
constexpr char kFallbackLetter = 'W';

}  // namespace

void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm, const std::string& value) {
    out.KeyValue(key, value);
}

void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm, uint32_t value) {
    out.KeyValue(key, std::to_string(value));
}

void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form, char value) {
    const char letter = value == '\0' ? kFallbackLetter : value;
    std::string text = Cp1251ToUtf8(std::string_view(&letter, 1));
    if (form == FieldForm::LetterBlank) text += ' ';
    out.KeyValue(key, text);
}

void FieldValueOut(TextFileWriter& out, std::string_view key, FieldForm form, uint8_t value) {
    switch (form) {
        case FieldForm::YesNo:
            out.KeyValue(key, value != 0 ? kYes : kNo);
            break;
        case FieldForm::YesOnly:
            if (value != 0) out.KeyValue(key, kYes);
            break;
        case FieldForm::PlusOnly:
            if (value != 0) out.KeyValue(key, kPlus);
            break;
        default:
            out.KeyValue(key, std::to_string(value));
            break;
    }
}

void FieldValueIn(std::string_view text, FieldForm, std::string& value) {
    value = text;
}

void FieldValueIn(std::string_view text, FieldForm, uint32_t& value) {
    value = ReadU32(text);
}

void FieldValueIn(std::string_view text, FieldForm, char& value) {
    // Every character of a loaded file is one code page byte, so the first byte of the
    // converted value is the whole of its first character.
    if (!text.empty()) value = Utf8ToCp1251(text).front();
}

void FieldValueIn(std::string_view text, FieldForm form, uint8_t& value) {
    switch (form) {
        case FieldForm::YesNo:
        case FieldForm::YesOnly:
            value = ReadFlag(text);
            break;
        case FieldForm::PlusOnly:
            value = text == kPlus;
            break;
        default:
            value = static_cast<uint8_t>(ReadInteger(text));
            break;
    }
}
