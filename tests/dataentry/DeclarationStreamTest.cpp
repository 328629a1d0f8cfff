#include "dataentry/DeclarationStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dataentry/ColumnTypes.h"
#include "dataentry/TableCatalogue.h"
#include "project/Workspace.h"
#include "TableTestSupport.h"

namespace torvex {
namespace {

using testing::MessageOf;

// The column declarations of a table, without the table's own properties.
std::vector<TColumnDeclaration> ColumnsOf(const TGridTable& table) {
    return table.Declaration().Columns;
}

TEST(DeclarationStream, EveryDeclaredTableReadsBackTheSame) {
    TWorkspace workspace;
    ASSERT_EQ(workspace.TableCount(), 25);
    for (int i = 0; i < workspace.TableCount(); ++i) {
        const TGridTable& declared = workspace.TableAt(i);
        TDeclarationReader reader(ColumnDeclarationBytes(declared));
        TGridTable copy(workspace.Registry());
        copy.HardwiredButton = declared.HardwiredButton;
        ReadColumnDeclarations(copy, reader);
        EXPECT_TRUE(reader.AtEnd()) << declared.Name;
        EXPECT_EQ(ColumnsOf(copy), ColumnsOf(declared)) << declared.Name;
        EXPECT_EQ(ColumnsOf(declared), TableCatalogue()[static_cast<size_t>(i)].Columns)
            << declared.Name;
        // Writing the copy again gives the same bytes.
        EXPECT_EQ(ColumnDeclarationBytes(copy), ColumnDeclarationBytes(declared)) << declared.Name;
    }
}

TEST(DeclarationStream, ReadColumnsWorkAsDeclared) {
    TWorkspace workspace;
    TGridTable soil(workspace.Registry());
    TDeclarationReader reader(ColumnDeclarationBytes(workspace.Table("NewSoil")));
    ReadColumnDeclarations(soil, reader);
    soil.SetRowCount(1);
    soil.Cell(0, 0).SetInteger(5);
    EXPECT_EQ(soil.Cell(2, 0).AsTable().Caption, "Silt");
    EXPECT_EQ(soil.Cell(2, 0).AsTable().ColumnCount(), 5);
}

TEST(DeclarationStream, TypedValuesRoundTrip) {
    TDeclarationWriter writer;
    const long double values[] = {0.0L, 0.1L, -1.5e300L, 123456789.123456789L, 1e-4000L,
                                  std::numeric_limits<long double>::infinity()};
    for (long double v : values) writer.WriteFloat(v);
    for (int32_t v : {0, -128, 127, 128, -32769, 2147483647, -2147483647 - 1}) writer.WriteInteger(v);
    writer.WriteString(std::string(300, 'x'));
    writer.WriteString("");
    writer.WriteBoolean(true);

    TDeclarationReader reader(writer.Bytes());
    for (long double v : values) EXPECT_EQ(reader.ReadFloat(), v);
    for (int32_t v : {0, -128, 127, 128, -32769, 2147483647, -2147483647 - 1})
        EXPECT_EQ(reader.ReadInteger(), v);
    EXPECT_EQ(reader.ReadString(), std::string(300, 'x'));
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(MessageOf([&] { reader.ReadInteger(); }), "Stream read error");
}

TEST(DeclarationStream, SmallIntegersUseTheSmallestType) {
    TDeclarationWriter writer;
    writer.WriteInteger(5);
    writer.WriteInteger(300);
    writer.WriteInteger(70000);
    const std::vector<uint8_t> expected = {2, 5, 3, 0x2C, 0x01, 4, 0x70, 0x11, 0x01, 0x00};
    EXPECT_EQ(writer.Bytes(), expected);
}

// An older float declaration: the marker is the unit string and there is no default.
TEST(DeclarationStream, OlderFloatDeclaration) {
    TDeclarationWriter writer;
    writer.WriteInteger(1);
    writer.WriteInteger(2);  // float
    writer.WriteListBegin();
    writer.WriteString("Depth");
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteBoolean(false);  // TopDepth
    writer.WriteString("L2");
    TTableRegistry registry;
    TGridTable table(registry);
    TDeclarationReader reader(writer.Bytes());
    ReadColumnDeclarations(table, reader);
    ASSERT_EQ(table.ColumnCount(), 1);
    const TColumnDeclaration column = table.Columns(0).Declaration();
    EXPECT_EQ(column.UnitString, "L2");
    EXPECT_EQ(column.FloatDefault, 0.0L);
    EXPECT_EQ(column.Captions, std::vector<std::string>{"Depth"});
}

// An older sub-table declaration: a marker that is not "FLEXCOLUMN2", then one integer k.
std::vector<uint8_t> OlderSubTableStream(bool withChoiceFirst, int k) {
    TDeclarationWriter writer;
    writer.WriteInteger(withChoiceFirst ? 2 : 1);
    if (withChoiceFirst) {
        writer.WriteInteger(0);
        writer.WriteListBegin();
        writer.WriteListEnd();
        writer.WriteBoolean(true);
        writer.WriteBoolean(false);
        writer.WriteListBegin();
        writer.WriteString("A");
        writer.WriteString("B");
        writer.WriteString("C");
        writer.WriteListEnd();
    }
    writer.WriteInteger(3);
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteString("FLEXCOLUMN");
    writer.WriteInteger(k);
    return writer.Bytes();
}

TEST(DeclarationStream, OlderSubTableDeclarations) {
    TTableRegistry registry;
    TGridTable zero(registry), one(registry), two(registry), three(registry);
    zero.SetIdentifier(10);  // registry positions 0..3, identifiers 10, 1, 2, 3
    ASSERT_EQ(registry.TableAt(1), &one);

    // No choice column first: one entry, the table at registry position k.
    TGridTable plain(registry);
    TDeclarationReader plainReader(OlderSubTableStream(false, 2));
    ReadColumnDeclarations(plain, plainReader);
    EXPECT_EQ(plain.Columns(0).Declaration().Templates, std::vector<int>{2});

    // A choice column first, hardwired: every choice refers to position k.
    TGridTable hardwired(registry);
    hardwired.HardwiredButton = true;
    TDeclarationReader hardwiredReader(OlderSubTableStream(true, 0));
    ReadColumnDeclarations(hardwired, hardwiredReader);
    EXPECT_EQ(hardwired.Columns(1).Declaration().Templates, (std::vector<int>{10, 10, 10}));

    // Not hardwired: choice i refers to the table with identifier i.
    TGridTable byChoice(registry);
    TDeclarationReader byChoiceReader(OlderSubTableStream(true, 0));
    ReadColumnDeclarations(byChoice, byChoiceReader);
    EXPECT_EQ(byChoice.Columns(1).Declaration().Templates, (std::vector<int>{1, 2, 3}));
    byChoice.SetRowCount(1);
    byChoice.Cell(0, 0).SetInteger(3);
    EXPECT_EQ(byChoice.Cell(1, 0).AsTable().Number(), 1);
}

TEST(DeclarationStream, TemplateListsFollowTheFirstColumnsChoices) {
    TDeclarationWriter writer;
    writer.WriteInteger(2);
    writer.WriteInteger(0);
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteListBegin();
    writer.WriteString("One");
    writer.WriteString("Two");
    writer.WriteListEnd();
    writer.WriteInteger(3);
    writer.WriteListBegin();
    writer.WriteListEnd();
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteString("FLEXCOLUMN2");
    writer.WriteListBegin();
    for (int id : {5, 6, 7, 8}) writer.WriteInteger(id);  // more than there are choices
    writer.WriteListEnd();
    TTableRegistry registry;
    TGridTable table(registry);
    TDeclarationReader reader(writer.Bytes());
    ReadColumnDeclarations(table, reader);
    EXPECT_EQ(table.Columns(1).Declaration().Templates, (std::vector<int>{5, 6}));
    table.SetRowCount(1);  // no table holds 5: the row has no object
    EXPECT_EQ(table.Columns(1).GetObject(0), nullptr);
}

TEST(DeclarationStream, BadStreamsGiveTheirMessagesAndLeaveNothingHalfBuilt) {
    TTableRegistry registry;
    TGridTable table(registry);
    TDeclarationReader empty({});
    EXPECT_EQ(MessageOf([&] { ReadColumnDeclarations(table, empty); }),
              "Error reading column count");

    TDeclarationWriter unknown;
    unknown.WriteInteger(1);
    unknown.WriteInteger(7);
    TDeclarationReader unknownReader(unknown.Bytes());
    EXPECT_EQ(MessageOf([&] { ReadColumnDeclarations(table, unknownReader); }),
              "Error occured when creating column 0: Error Column Class not defined");
    EXPECT_EQ(table.ColumnCount(), 0);

    TWorkspace workspace;
    std::vector<uint8_t> bytes = ColumnDeclarationBytes(workspace.Table("BoundCond"));
    bytes.resize(bytes.size() - 3);  // cut inside the last column
    TDeclarationReader cut(bytes);
    TGridTable partial(registry);
    EXPECT_EQ(MessageOf([&] { ReadColumnDeclarations(partial, cut); }),
              "Error occured when creating column 5: Stream read error");
    EXPECT_EQ(partial.ColumnCount(), 5);

    TDeclarationWriter wrongType;
    wrongType.WriteInteger(1);
    wrongType.WriteString("x");
    TDeclarationReader wrongReader(wrongType.Bytes());
    EXPECT_EQ(MessageOf([&] { ReadColumnDeclarations(table, wrongReader); }),
              "Error occured when creating column 0: Invalid property value");

    // A string that claims more bytes than the stream has.
    std::vector<uint8_t> lying = {2, 1, 2, 2, 1, 12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'};
    TDeclarationReader lyingReader(lying);
    EXPECT_EQ(MessageOf([&] { ReadColumnDeclarations(table, lyingReader); }),
              "Error occured when creating column 0: Stream read error");
}

}  // namespace
}  // namespace torvex
