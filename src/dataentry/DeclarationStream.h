#pragma once
// The column declarations of a table as a typed record stream (the property "Col" of a
// declared table): integers, booleans, strings, extended floats and bracketed lists, each
// preceded by its value type, in the binary encoding of window declarations.

#include <cstdint>
#include <string>
#include <vector>

namespace torvex {

class TGridTable;

// Value types of the stream.
enum class TValueType : uint8_t {
    Null = 0,  // end of a list
    List = 1,
    Int8 = 2,
    Int16 = 3,
    Int32 = 4,
    Extended = 5,  // 80-bit extended real, little-endian
    String = 6,    // length byte, then the characters
    False = 8,
    True = 9,
    LString = 12,  // 32-bit length, then the characters
};

class TDeclarationWriter {
public:
    void WriteInteger(int32_t value);  // in the smallest integer type that holds it
    void WriteBoolean(bool value);
    void WriteString(const std::string& value);
    void WriteFloat(long double value);
    void WriteListBegin();
    void WriteListEnd();
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Put(const void* data, size_t size);
    std::vector<uint8_t> bytes_;
};

// Reads what TDeclarationWriter wrote; a missing value or a value of another type raises
// ETableError ("Stream read error", "Invalid property value").
class TDeclarationReader {
public:
    explicit TDeclarationReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    int32_t ReadInteger();
    bool ReadBoolean();
    std::string ReadString();
    long double ReadFloat();
    void ReadListBegin();
    void ReadListEnd();
    bool EndOfList();  // the next value closes the list
    bool AtEnd() const { return position_ >= bytes_.size(); }

private:
    TValueType ReadType();
    TValueType PeekType();
    void Get(void* data, size_t size);
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// Writes the column declarations of a table: the column count, then per column the type
// code, the caption lines, Visible, SharedByGroup and the kind's own fields.
void WriteColumnDeclarations(const TGridTable& table, TDeclarationWriter& writer);
std::vector<uint8_t> ColumnDeclarationBytes(const TGridTable& table);

// Reads column declarations into a table, appending the columns (also the older float and
// sub-table forms). Errors: "Error reading column count", "Error occured when creating
// column %d: %s".
void ReadColumnDeclarations(TGridTable& table, TDeclarationReader& reader);

}  // namespace torvex
