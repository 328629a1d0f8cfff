#include "dataentry/DeclarationStream.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "dataentry/ColumnTypes.h"

namespace torvex {
namespace {

constexpr const char* kFloatMarker = "FLOATCOLUMN2";
constexpr const char* kTableMarker = "FLEXCOLUMN2";

// 80-bit extended layout: 64-bit mantissa with explicit integer bit, 15-bit biased exponent
// and the sign, little-endian. Built arithmetically so it does not depend on the host's
// long double.
void EncodeExtended(long double value, uint8_t out[10]) {
    uint64_t mantissa = 0;
    uint16_t exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        const long double fraction = std::frexp(std::fabs(value), &e);  // [0.5, 1)
        mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
        exponent = static_cast<uint16_t>(e - 1 + 16383);
    }
    std::memcpy(out, &mantissa, 8);  // little-endian hosts only, as the program targets
    exponent |= negative ? 0x8000 : 0;
    std::memcpy(out + 8, &exponent, 2);
}

long double DecodeExtended(const uint8_t in[10]) {
    uint64_t mantissa = 0;
    uint16_t exponent = 0;
    std::memcpy(&mantissa, in, 8);
    std::memcpy(&exponent, in + 8, 2);
    const bool negative = exponent & 0x8000;
    exponent &= 0x7FFF;
    long double value;
    if (exponent == 0x7FFF)
        value = (mantissa << 1) ? std::numeric_limits<long double>::quiet_NaN()
                                : std::numeric_limits<long double>::infinity();
    else
        value = std::ldexp(static_cast<long double>(mantissa), int(exponent) - 16383 - 63);
    return negative ? -value : value;
}

}  // namespace

// ---- Writer ----

void TDeclarationWriter::Put(const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
}

void TDeclarationWriter::WriteInteger(int32_t value) {
    if (value >= -128 && value <= 127) {
        bytes_.push_back(static_cast<uint8_t>(TValueType::Int8));
        const int8_t v = static_cast<int8_t>(value);
        Put(&v, 1);
    } else if (value >= -32768 && value <= 32767) {
        bytes_.push_back(static_cast<uint8_t>(TValueType::Int16));
        const int16_t v = static_cast<int16_t>(value);
        Put(&v, 2);
    } else {
        bytes_.push_back(static_cast<uint8_t>(TValueType::Int32));
        Put(&value, 4);
    }
}

void TDeclarationWriter::WriteBoolean(bool value) {
    bytes_.push_back(static_cast<uint8_t>(value ? TValueType::True : TValueType::False));
}

void TDeclarationWriter::WriteString(const std::string& value) {
    if (value.size() <= 255) {
        bytes_.push_back(static_cast<uint8_t>(TValueType::String));
        bytes_.push_back(static_cast<uint8_t>(value.size()));
    } else {
        bytes_.push_back(static_cast<uint8_t>(TValueType::LString));
        const uint32_t size = static_cast<uint32_t>(value.size());
        Put(&size, 4);
    }
    Put(value.data(), value.size());
}

void TDeclarationWriter::WriteFloat(long double value) {
    bytes_.push_back(static_cast<uint8_t>(TValueType::Extended));
    uint8_t encoded[10];
    EncodeExtended(value, encoded);
    Put(encoded, 10);
}

void TDeclarationWriter::WriteListBegin() { bytes_.push_back(static_cast<uint8_t>(TValueType::List)); }
void TDeclarationWriter::WriteListEnd() { bytes_.push_back(static_cast<uint8_t>(TValueType::Null)); }

// ---- Reader ----

void TDeclarationReader::Get(void* data, size_t size) {
    if (size > bytes_.size() - std::min(position_, bytes_.size()))
        throw ETableError("Stream read error");
    std::memcpy(data, bytes_.data() + position_, size);
    position_ += size;
}

TValueType TDeclarationReader::PeekType() {
    if (AtEnd()) throw ETableError("Stream read error");
    return static_cast<TValueType>(bytes_[position_]);
}

TValueType TDeclarationReader::ReadType() {
    const TValueType type = PeekType();
    ++position_;
    return type;
}

int32_t TDeclarationReader::ReadInteger() {
    switch (ReadType()) {
        case TValueType::Int8: {
            int8_t v;
            Get(&v, 1);
            return v;
        }
        case TValueType::Int16: {
            int16_t v;
            Get(&v, 2);
            return v;
        }
        case TValueType::Int32: {
            int32_t v;
            Get(&v, 4);
            return v;
        }
        default: throw ETableError("Invalid property value");
    }
}

bool TDeclarationReader::ReadBoolean() {
    switch (ReadType()) {
        case TValueType::True: return true;
        case TValueType::False: return false;
        default: throw ETableError("Invalid property value");
    }
}

std::string TDeclarationReader::ReadString() {
    uint32_t size = 0;
    switch (ReadType()) {
        case TValueType::String: {
            uint8_t small;
            Get(&small, 1);
            size = small;
            break;
        }
        case TValueType::LString: Get(&size, 4); break;
        default: throw ETableError("Invalid property value");
    }
    std::string value(std::min<size_t>(size, bytes_.size()), '\0');
    if (size > value.size()) throw ETableError("Stream read error");
    Get(value.data(), size);
    return value;
}

long double TDeclarationReader::ReadFloat() {
    const TValueType type = PeekType();
    if (type != TValueType::Extended) return ReadInteger();  // integers are accepted
    ++position_;
    uint8_t encoded[10];
    Get(encoded, 10);
    return DecodeExtended(encoded);
}

void TDeclarationReader::ReadListBegin() {
    if (ReadType() != TValueType::List) throw ETableError("Invalid property value");
}

void TDeclarationReader::ReadListEnd() {
    if (ReadType() != TValueType::Null) throw ETableError("Invalid property value");
}

bool TDeclarationReader::EndOfList() { return PeekType() == TValueType::Null; }

// ---- Column declarations ----

void WriteColumnDeclarations(const TGridTable& table, TDeclarationWriter& writer) {
    writer.WriteInteger(table.ColumnCount());
    for (int i = 0; i < table.ColumnCount(); ++i) {
        const TColumnDeclaration d = table.Columns(i).Declaration();
        writer.WriteInteger(TColumnTypeRegistry::Instance().CodeOf(ColumnClassName(d.Kind)));
        writer.WriteListBegin();
        for (const std::string& line : d.Captions) writer.WriteString(line);
        writer.WriteListEnd();
        writer.WriteBoolean(d.Visible);
        writer.WriteBoolean(d.SharedByGroup);
        switch (d.Kind) {
            case TColumnKind::Choice:
                writer.WriteListBegin();
                for (const std::string& choice : d.Choices) writer.WriteString(choice);
                writer.WriteListEnd();
                break;
            case TColumnKind::Integer:
                writer.WriteInteger(d.IntDefault);
                writer.WriteInteger(d.IntMin);
                writer.WriteInteger(d.IntMax);
                break;
            case TColumnKind::Float:
                writer.WriteBoolean(d.TopDepth);
                writer.WriteString(kFloatMarker);
                writer.WriteString(d.UnitString);
                writer.WriteFloat(d.FloatDefault);
                break;
            case TColumnKind::SubTable:
                writer.WriteString(kTableMarker);
                writer.WriteListBegin();
                for (int identifier : d.Templates) writer.WriteInteger(identifier);
                writer.WriteListEnd();
                break;
            case TColumnKind::Text:
                writer.WriteString(d.TextDefault);
                writer.WriteFloat(d.Width);
                break;
        }
    }
}

std::vector<uint8_t> ColumnDeclarationBytes(const TGridTable& table) {
    TDeclarationWriter writer;
    WriteColumnDeclarations(table, writer);
    return writer.Bytes();
}

namespace {

std::vector<std::string> ReadStringList(TDeclarationReader& reader) {
    std::vector<std::string> list;
    reader.ReadListBegin();
    while (!reader.EndOfList()) list.push_back(reader.ReadString());
    reader.ReadListEnd();
    return list;
}

// The template list of an older sub-table declaration: one integer k.
TGridTableList LegacyTemplates(const TGridTable& table, int k) {
    TGridTableList templates;
    if (table.ColumnCount() == 0 || table.Columns(0).Kind() != TColumnKind::Choice) {
        templates.AddPosition(k);
        return templates;
    }
    const size_t choices = table.Columns(0).Declaration().Choices.size();
    for (size_t i = 1; i <= choices; ++i) {
        if (table.HardwiredButton)
            templates.AddPosition(k);
        else
            templates.AddIdentifier(static_cast<int>(i));
    }
    return templates;
}

std::unique_ptr<TColumn> ReadColumn(TGridTable& table, TDeclarationReader& reader) {
    const int code = reader.ReadInteger();
    auto column = TColumnTypeRegistry::Instance().Create(code, table);
    TColumnDeclaration d;
    d.Kind = column->Kind();
    d.Captions = ReadStringList(reader);
    d.Visible = reader.ReadBoolean();
    d.SharedByGroup = reader.ReadBoolean();
    bool legacyTemplates = false;
    int legacyPosition = 0;
    switch (d.Kind) {
        case TColumnKind::Choice: d.Choices = ReadStringList(reader); break;
        case TColumnKind::Integer:
            d.IntDefault = reader.ReadInteger();
            d.IntMin = reader.ReadInteger();
            d.IntMax = reader.ReadInteger();
            break;
        case TColumnKind::Float: {
            d.TopDepth = reader.ReadBoolean();
            const std::string marker = reader.ReadString();
            if (marker == kFloatMarker) {
                d.UnitString = reader.ReadString();
                d.FloatDefault = reader.ReadFloat();
            } else {
                d.UnitString = marker;  // older declarations: no default
            }
            break;
        }
        case TColumnKind::SubTable: {
            const std::string marker = reader.ReadString();
            if (marker == kTableMarker) {
                reader.ReadListBegin();
                while (!reader.EndOfList()) d.Templates.push_back(reader.ReadInteger());
                reader.ReadListEnd();
            } else {
                legacyTemplates = true;
                legacyPosition = reader.ReadInteger();
            }
            break;
        }
        case TColumnKind::Text:
            d.TextDefault = reader.ReadString();
            d.Width = reader.ReadFloat();
            break;
    }
    column->ApplyDeclaration(d);
    if (legacyTemplates)
        static_cast<TTableColumn&>(*column).SetTemplates(LegacyTemplates(table, legacyPosition));
    return column;
}

}  // namespace

void ReadColumnDeclarations(TGridTable& table, TDeclarationReader& reader) {
    int count = 0;
    try {
        count = reader.ReadInteger();
    } catch (const std::exception&) {
        throw ETableError("Error reading column count");
    }
    for (int i = 0; i < count; ++i) {
        std::unique_ptr<TColumn> column;
        try {
            column = ReadColumn(table, reader);
        } catch (const std::exception& error) {
            throw ETableError("Error occured when creating column " + std::to_string(i) + ": " +
                              error.what());
        }
        table.AddColumn(std::move(column));  // attaches and fits the template lists
    }
    table.StructureChanged();
}

}  // namespace torvex
