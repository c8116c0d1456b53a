// Stored properties of a user control.
//
// A control writes each property with a write default and reads it back with a
// read default. A value equal to its write default is not stored at all, so the
// read default applies on the next load: a caption written as "Command" with
// the write default "Command" and read with the default "Command1" comes back
// as "Command1". The bag is kept with the layout of the form that holds the
// control, as text (ToText / FromText).
//
//   forms::PropertyBag bag;
//   bag.Write("Caption", caption, "Command");
//   std::string text = bag.ToText();              // stored with the layout
//   auto again = forms::PropertyBag::FromText(text);
//   std::string c = again->Read("Caption", "Command1");
//
// Values are text; numbers and Booleans are written as decimal text (true as
// -1, false as 0, as the host's 16-bit Booleans are).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

class PropertyBag {
  public:
    // The stored value, or `readDefault` when nothing is stored under `key`.
    std::string Read(std::string_view key, std::string_view readDefault) const;
    // A stored whole number (decimal, optional sign, within 32 bits), or
    // `readDefault` when nothing is stored or the stored text is not one.
    std::int32_t ReadLong(std::string_view key, std::int32_t readDefault) const;
    // A stored Boolean: any whole number other than 0 is true.
    bool ReadBool(std::string_view key, bool readDefault) const;

    // Stores `value` under `key`, or removes `key` when `value` equals
    // `writeDefault`.
    void Write(std::string_view key, std::string_view value, std::string_view writeDefault);
    void WriteLong(std::string_view key, std::int32_t value, std::int32_t writeDefault);
    void WriteBool(std::string_view key, bool value, bool writeDefault);

    bool Contains(std::string_view key) const;
    bool Empty() const { return values_.empty(); }

    // One "key=value" line per stored property, in key order. Backslash,
    // line breaks and '=' are written as \\, \n, \r and \=.
    std::string ToText() const;
    // Reads text written by ToText. Empty lines are skipped and a line may end
    // in CR LF. Fails on a line without '=' and on an unknown escape; a key
    // given twice keeps its last value.
    static std::optional<PropertyBag> FromText(std::string_view text);

    bool operator==(const PropertyBag& other) const { return values_ == other.values_; }

  private:
    std::map<std::string, std::string, std::less<>> values_;
};

// Whole-number text as the bag stores it.
std::string LongToText(std::int32_t value);
// Reads decimal text with an optional sign that fits 32 bits, nothing else.
std::optional<std::int32_t> TextToLong(std::string_view text);

} // namespace forms
