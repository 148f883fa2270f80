// The drawing file reader against files made by the project's drawing writer: the round trip of
// every kind, the setting blocks, the older format, block import, references, relocation and
// the damaged variants.
#include "files/drawing_file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "drawing/block_definitions.h"
#include "drawing/entity_dump.h"
#include "drawing/layer_table.h"
#include "support/drawing_writer.h"

namespace linework {
namespace {

using test::DrawingWriter;

struct MessageSpy : DrawingMessages {
    std::vector<std::string> shown;
    std::string locateText = "Kde je soubor ";
    void ShowError(int message, std::string_view suffix) override {
        shown.push_back("error " + std::to_string(message) + " " + std::string(suffix));
    }
    void ShowInfo(int message, std::string_view suffix) override {
        shown.push_back("info " + std::to_string(message) + " " + std::string(suffix));
    }
    std::string MessageText(int message) override { return message == 127 ? locateText : std::string(); }
};

struct AnswerRelocator : FileRelocator {
    std::string answer;
    std::vector<std::string> asked;
    std::string AskForFile(std::string_view title, std::string_view extension) override {
        asked.push_back(std::string(title) + "|" + std::string(extension));
        return answer;
    }
};

struct CountingDraw : EntityDrawHook {
    std::vector<std::string> drawn;
    void DrawEntity(const Drawing& drawing, const EntityRecord& record, int) override {
        drawn.push_back(DumpEntity(drawing, record));
    }
};

class DrawingFileReader : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::PythonPresent()) GTEST_SKIP() << "no Python to run the drawing writer";
        ResetDrawingSettings(variables_);
    }
    DrawingFileContext Context() {
        DrawingFileContext context{.drawing = drawing_, .variables = variables_, .tables = tables_, .undo = undo_,
                                   .draw = draw_, .messages = messages_, .relocator = relocator_, .inUse = &inUse_,
                                   .references = &cache_, .programFolder = writer_.WindowsFolder()};
        return context;
    }
    int32_t Load(const std::string& name, std::string block = {}) {
        DrawingFileContext context = Context();
        LoadRequest request;
        request.fileName = writer_.Windows(name + ".LKD");
        request.blockName = std::move(block);
        return LoadDrawing(context, request);
    }
    std::string Expected(const std::string& name) { return test::ReadText(writer_.Host(name + ".txt")); }

    DrawingWriter writer_;
    Drawing drawing_;
    SystemVariableImage variables_;
    DrawingTables tables_;
    UndoRecorder undo_;
    CountingDraw draw_;
    MessageSpy messages_;
    AnswerRelocator relocator_;
    DrawingInUseMarks inUse_;
    ReferenceCache cache_;
};

TEST_F(DrawingFileReader, TheSampleReadsBackAsItsDescriptionSaysWithItsSettings) {
    ASSERT_TRUE(writer_.Build("PODKLAD", test::ReadText(LINEWORK_SAMPLES_DIR "/PODKLAD.json")));
    ASSERT_TRUE(writer_.Build("KRESBA", test::ReadText(LINEWORK_SAMPLES_DIR "/kresba.json")));
    variables_.SetByte(8, 1);  // take the settings of the next drawing
    EXPECT_EQ(Load("KRESBA"), 0);
    EXPECT_EQ(DumpDrawing(drawing_), Expected("KRESBA"));
    EXPECT_EQ(variables_.Integer(373), 500);        // S2 +20: the blink interval
    EXPECT_EQ(variables_.Integer(633), 3);          // S2 +1060: the current layer
    EXPECT_EQ(variables_.Double(561 + 24), 0.5);    // S3 +192: the current view's scale
    EXPECT_EQ(variables_.Byte(57 + 8), 1);          // S1 byte 8: the grid switch
    EXPECT_EQ(tables_.endSymbols[3], 65);           // S4
    EXPECT_EQ(tables_.scaleRanges.ranges[0].upper, 100.0f);  // S5
    EXPECT_EQ(variables_.Byte(8), 0) << "the switch is used up";
    EXPECT_EQ(variables_.Byte(44), 1);
    EXPECT_EQ(undo_.LastOperation(), undo_code::kLoad);
    // Every entity but the reference is drawn as it is read.
    EXPECT_EQ(draw_.drawn.size(), 10u);
    // The image got its row index back from its picture: 32 rows and the header.
    EntityHandle last = 0;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle at) { last = at; });
    const EntityRecord& image = drawing_[last];
    ASSERT_EQ(image.Kind(), EntityKind::RasterImage);
    RowTableHandle table = image.Load<uint32_t>(entity_field::kRowTable);
    ASSERT_TRUE(drawing_.rowTables.Holds(table));
    EXPECT_EQ(drawing_.rowTables[table]->size(), 33u);
    EXPECT_EQ(drawing_.rowTables[table]->front(), 128u);
}

// A small drawing around the setting block S2 of a given length, with S3 after it.
std::string SettingsDescription(int s2Length) {
    return R"({"settings": {"s2": {"length": )" + std::to_string(s2Length) +
           R"(, "ints": {"28": 117506305}}, "s3": {"length": 1368, "doubles": {"192": 4}}},
              "entities": [{"kind": "polyline", "vertices": [[0, 0], [1, 1]]}]})";
}

TEST_F(DrawingFileReader, ASettingBlockIsTakenOnlyAtItsExactLengthAndSkippedOtherwise) {
    struct Case {
        int length;
        bool taken;
    };
    for (Case c : {Case{1319, false}, Case{1320, true}, Case{1321, false}}) {
        SCOPED_TRACE(c.length);
        ResetDrawingSettings(variables_);
        ClearDrawing(drawing_);
        variables_.SetByte(8, 1);
        uint32_t before = LayerTable(variables_).Word(0);
        ASSERT_TRUE(writer_.Build("S2", SettingsDescription(c.length)));
        EXPECT_EQ(Load("S2"), 0);
        EXPECT_EQ(LayerTable(variables_).Word(0), c.taken ? 117506305u : before);
        EXPECT_EQ(variables_.Double(585), 4.0) << "S3 after it is read in its place";
        EXPECT_NE(drawing_.head, 0u) << "the entity after the settings is read";
    }
}

TEST_F(DrawingFileReader, LayerWordsOfLineTypeSevenTakeLineTypeOne) {
    variables_.SetByte(8, 1);
    // Layer 0 word: colour 7, width 1, line type 7.
    ASSERT_TRUE(writer_.Build("LT", R"({"settings": {"s2": {"length": 1320, "ints": {"28": 459015}}}})"));
    EXPECT_EQ(Load("LT"), 0);
    EXPECT_EQ(LayerTable(variables_).Word(0), 0x00010107u);
}

TEST_F(DrawingFileReader, AnOlderFileTakesTheEndSymbolsAndScaleRangesButNoSystemVariables) {
    variables_.SetByte(8, 1);
    uint32_t layerWord = LayerTable(variables_).Word(0);
    ASSERT_TRUE(writer_.Build("OLD", R"({"format": "older", "settings": {
        "s1": {"length": 12, "bytes": {"8": 1}},
        "s2": {"length": 1320, "ints": {"28": 117506305}},
        "s3": {"length": 1368, "doubles": {"192": 4}},
        "s4": {"length": 5100, "bytes": {"3": 66}},
        "s5": {"length": 2048, "singles": {"0": 25}}}})"));
    EXPECT_EQ(Load("OLD"), 0);
    EXPECT_EQ(variables_.Byte(65), 0);
    EXPECT_EQ(LayerTable(variables_).Word(0), layerWord);
    EXPECT_EQ(variables_.Double(585), 0.0);
    EXPECT_EQ(tables_.endSymbols[3], 66);
    EXPECT_EQ(tables_.scaleRanges.ranges[0].upper, 25.0f);
}

TEST_F(DrawingFileReader, OlderRecordsAreTranslatedIntoTheCurrentLayout) {
    variables_.SetInteger(638, 4);   // line type of older points
    variables_.SetDouble(554, 3.0);  // older points' marker size
    ASSERT_TRUE(writer_.Build("OLD", R"({"format": "older",
        "blocks": [{"name": "DLOUHEJMENO", "base": [1, 2], "entities": [
            {"kind": "polyline", "vertices": [[0, 0], [1, 0]], "style": 1}]},
            {"name": "B", "entities": [{"kind": "arc", "centre": [0, 0], "start": [1, 0], "end": [0, 1], "type": 6}]}],
        "entities": [
            {"kind": "polyline", "layer": 2, "colour": 5, "width": 3, "vertices": [[0, 0], [5, 5], [9, 0]], "style": 7},
            {"kind": "polyline", "vertices": [[4, 4]], "style": 2},
            {"kind": "text", "at": [1, 2], "height": 2, "text": "stary"},
            {"kind": "insert", "block": "B", "at": [3, 3]},
            {"kind": "dimension", "points": [[0,0],[1,0],[2,0],[3,0],[4,0]], "value": 2, "style": 1, "text": "2"}]})"));
    EXPECT_EQ(Load("OLD"), 0);
    EXPECT_EQ(DumpDrawing(drawing_),
              "block \"DLOUHEJMENO\" base=(1,2)\n"
              "  line flags=0x00 layer=0 colour=0 width=1 aux=0 end=0 style=3 vertices=2 (0,0) (1,0)\n"
              "block \"B\" base=(0,0)\n"
              "  arc flags=0x00 layer=0 colour=0 width=1 centre=(0,0) start=(1,0) end=(0,1) type=5\n"
              // Line type 7 maps to 1; width 3 from bit 2 of the kind byte.
              "polyline flags=0x00 layer=2 colour=5 width=3 aux=0 end=0 style=1 vertices=3 (0,0) (5,5) (9,0)\n"
              "point flags=0x00 layer=0 colour=0 width=1 aux=3 end=0 style=4 vertices=1 (4,4)\n"
              "text flags=0x00 layer=0 colour=0 width=1 at=(1,2) height=2 charwidth=1 angle=0 justify=0 text=\"stary\"\n"
              "insert flags=0x00 layer=0 colour=0 width=1 block=\"B\" at=(3,3) scale=(1,1) angle=0 display=0 attributes=0\n"
              "dimension flags=0x00 layer=0 colour=0 width=1 p1=(0,0) p2=(1,0) p3=(2,0) p4=(3,0) p5=(4,0) value=2 style=1 text=\"2\"\n");
}

TEST_F(DrawingFileReader, AnEmptyDrawingLoadsWithoutError) {
    ASSERT_TRUE(writer_.Build("EMPTY", "{}"));
    EXPECT_EQ(Load("EMPTY"), 0);
    EXPECT_EQ(drawing_.head, 0u);
    EXPECT_EQ(drawing_.blockHead, 0u);
    EXPECT_EQ(undo_.LastOperation(), undo_code::kNothing) << "an empty drawing leaves nothing to undo";
}

TEST_F(DrawingFileReader, ALoadIntoADrawingPutsTheFilesEntitiesFirstInFileOrder) {
    ASSERT_TRUE(writer_.Build("TWO", R"({"entities": [
        {"kind": "polyline", "vertices": [[1, 1]]}, {"kind": "polyline", "vertices": [[2, 2]]}]})"));
    EXPECT_EQ(Load("TWO"), 0);
    EXPECT_EQ(Load("TWO"), 0);
    std::vector<double> xs;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle at) { xs.push_back(drawing_[at].Double(entity_field::kVertices)); });
    EXPECT_EQ(xs, (std::vector<double>{1, 2, 1, 2}));
}

TEST_F(DrawingFileReader, ImportingABlockKeepsItAndTheBlocksItUsesOnly) {
    ASSERT_TRUE(writer_.Build("BLOCKS", R"({"blocks": [
        {"name": "B", "entities": [{"kind": "polyline", "vertices": [[0, 0]]}]},
        {"name": "C", "entities": [{"kind": "polyline", "vertices": [[1, 1]]}]},
        {"name": "A", "entities": [{"kind": "insert", "block": "B", "at": [0, 0]}]},
        {"name": "D", "entities": [{"kind": "insert", "block": "A", "at": [0, 0]}]}],
        "entities": [{"kind": "polyline", "vertices": [[5, 5]]}]})"));
    EXPECT_EQ(Load("BLOCKS", "A"), 0);
    std::vector<std::string> names;
    ForEachBlock(drawing_, [&](BlockHandle block) { names.push_back(drawing_.Block(block).name); });
    EXPECT_EQ(names, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(drawing_.head, 0u) << "an import reads no entities";
}

TEST_F(DrawingFileReader, InsertsOfUnknownOrSelfInsertingBlocksAreDropped) {
    ASSERT_TRUE(writer_.Build("BAD", R"({"blocks": [
        {"name": "A", "entities": [{"kind": "insert", "block": "A", "at": [0, 0]},
                                   {"kind": "polyline", "vertices": [[0, 0]]}]}],
        "entities": [{"kind": "insert", "block": "X", "at": [0, 0]}, {"kind": "insert", "block": "A", "at": [1, 1]}]})"));
    EXPECT_EQ(Load("BAD"), 0);
    BlockHandle a = FindBlockDef(drawing_, "A");
    ASSERT_NE(a, 0u);
    EXPECT_EQ(CountBlockEntities(drawing_, a), 1u) << "the self insert is gone";
    EXPECT_EQ(messages_.shown, (std::vector<std::string>{"error 125 X"}));
    EXPECT_NE(drawing_.head, 0u);
    EXPECT_EQ(drawing_[drawing_.head].Next(), 0u);
}

TEST_F(DrawingFileReader, ADuplicateBlockIsReportedAndItsMembersDropped) {
    ASSERT_TRUE(writer_.Build("DUP", R"({"blocks": [{"name": "A", "entities": [{"kind": "polyline", "vertices": [[0, 0]]}]}]})"));
    EXPECT_EQ(Load("DUP"), 0);
    EXPECT_EQ(Load("DUP"), 0);
    EXPECT_EQ(messages_.shown, (std::vector<std::string>{"info 126 A"}));
    EXPECT_EQ(CountBlockEntities(drawing_, FindBlockDef(drawing_, "A")), 1u);
}

TEST_F(DrawingFileReader, AnUnknownSignatureLeaves99AndMessage122) {
    writer_.Build("GOOD", "{}");
    std::string bytes = test::ReadText(writer_.Host("GOOD.LKD"));
    bytes[9] = '9';
    test::WriteText(writer_.Host("SIG.LKD"), bytes);
    EXPECT_EQ(Load("SIG"), 99);
    EXPECT_EQ(variables_.Integer(8), 99);
    EXPECT_EQ(messages_.shown, (std::vector<std::string>{"error 122 "}));
}

TEST_F(DrawingFileReader, AMissingFileLeavesItsIoResult) {
    EXPECT_EQ(Load("NOSUCH"), 2);
}

// Every damaged variant of the writer fails with its status and keeps what came before.
TEST_F(DrawingFileReader, DamagedVariantsStopWithTheirStatusAndKeepWhatWasRead) {
    ASSERT_TRUE(writer_.Damage(R"({"entities": [{"kind": "polyline", "vertices": [[0, 0], [1, 1]]},
        {"kind": "text", "at": [0, 0], "text": "abc"}]})", "damaged"));
    std::ifstream list(writer_.Host("damaged/statuses.txt"));
    std::string name;
    int status = 0;
    int variants = 0;
    while (list >> name >> status) {
        SCOPED_TRACE(name);
        ++variants;
        ClearDrawing(drawing_);
        messages_.shown.clear();
        EXPECT_EQ(Load("damaged/" + name), status);
        size_t count = 0;
        ForEachEntity(drawing_, drawing_.head, [&](EntityHandle) { ++count; });
        size_t expected = status == 99 ? 0 : name == "len4116" ? 3 : name == "cut-file" ? 1 : 2;
        EXPECT_EQ(count, expected);
        EXPECT_EQ(messages_.shown, status == 0 ? std::vector<std::string>{} : std::vector<std::string>{"error 122 "});
    }
    EXPECT_EQ(variants, 7);
}

TEST_F(DrawingFileReader, AMissingPictureIsLookedForThroughTheDialogAndItsFolderRemembered) {
    std::filesystem::create_directory(writer_.Host("jinde"));
    ASSERT_TRUE(writer_.Run("pcx 16 4 '" + writer_.Host("jinde/A.PCX") + "'"));
    ASSERT_TRUE(writer_.Run("pcx 16 4 '" + writer_.Host("jinde/B.PCX") + "'"));
    ASSERT_TRUE(writer_.Build("MISSING", R"({"entities": [
        {"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [15, 3], "file": "{DIR}A.PCX"},
        {"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [15, 3], "file": "{DIR}B.PCX"},
        {"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [15, 3], "file": "{DIR}C.PCX"}]})"));
    relocator_.answer = writer_.Windows("jinde\\A.PCX");
    EXPECT_EQ(Load("MISSING"), 0);
    // A is asked for, B found in A's folder, C asked for and given A again.
    EXPECT_EQ(relocator_.asked.size(), 2u);
    EXPECT_EQ(relocator_.asked.front(), "Kde je soubor " + writer_.Windows("A.PCX") + "|.PCX");
    std::vector<std::string> names;
    ForEachEntity(drawing_, drawing_.head, [&](EntityHandle at) {
        names.emplace_back(drawing_[at].ShortString(entity_field::kImageName));
    });
    EXPECT_EQ(names, (std::vector<std::string>{writer_.Windows("jinde\\A.PCX"), writer_.Windows("jinde\\B.PCX"),
                                               writer_.Windows("jinde\\A.PCX")}));
}

TEST_F(DrawingFileReader, AMissingPictureThatIsNotFoundIsDropped) {
    ASSERT_TRUE(writer_.Build("MISSING", R"({"entities": [
        {"kind": "image", "at": [0, 0], "pixel": [1, 1], "last": [15, 3], "file": "{DIR}C.PCX"},
        {"kind": "polyline", "vertices": [[0, 0]]}]})"));
    for (bool askable : {true, false}) {
        ClearDrawing(drawing_);
        messages_.locateText = askable ? "Kde je " : "";
        relocator_.asked.clear();
        EXPECT_EQ(Load("MISSING"), 0);
        EXPECT_EQ(relocator_.asked.size(), askable ? 1u : 0u);
        ASSERT_NE(drawing_.head, 0u);
        EXPECT_EQ(drawing_[drawing_.head].Kind(), EntityKind::Polyline);
        EXPECT_EQ(drawing_[drawing_.head].Next(), 0u);
    }
}

TEST_F(DrawingFileReader, AReferenceIsDrawnTransformedFromItsParseUntilTheFileChanges) {
    ASSERT_TRUE(writer_.Build("REF", R"({"header3": [7.5],
        "entities": [{"kind": "polyline", "layer": 0, "vertices": [[1, 0], [2, 0]]},
                     {"kind": "reference", "at": [0, 0], "file": "{DIR}REF.LKD"}]})"));
    EntityRecord reference(EntityKind::DrawingReference, 53);
    reference.SetByte(entity_field::kLayer, 9);
    reference.SetDouble(entity_field::kXScale, 2);
    reference.SetDouble(entity_field::kYScale, 2);
    reference.SetDouble(entity_field::kRotation, 0);
    reference.SetDouble(entity_field::kReferenceX, 10);
    reference.SetDouble(entity_field::kReferenceY, 20);
    DrawingFileContext context = Context();
    LoadRequest request;
    request.reference = &reference;
    request.fileName = writer_.Windows("REF.LKD");
    for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(LoadDrawing(context, request), 0);
    EXPECT_EQ(cache_.Parses(), 1u);
    EXPECT_EQ(draw_.drawn, (std::vector<std::string>(2, "line flags=0x00 layer=9 colour=0 width=0 aux=0 end=0 style=0 "
                                                        "vertices=2 (12,20) (14,20)")))
        << "scaled, moved, on the reference's layer; the nested reference not drawn";
    EXPECT_EQ(variables_.Double(16), 7.5) << "header block 3 goes to the doubles from 16";
    EXPECT_EQ(drawing_.head, 0u) << "nothing of a reference stays in the drawing";
    std::filesystem::resize_file(writer_.Host("REF.LKD"), std::filesystem::file_size(writer_.Host("REF.LKD")) + 2);
    EXPECT_EQ(LoadDrawing(context, request), 100) << "the changed file is read again: a cut length word";
    EXPECT_EQ(cache_.Parses(), 2u);
}

TEST_F(DrawingFileReader, InUseMarksAreKeptInTheProcessAndTheFileIsLeftAlone) {
    ASSERT_TRUE(writer_.Build("MINE", "{}"));
    auto permissions = std::filesystem::status(writer_.Host("MINE.LKD")).permissions();
    variables_.SetByte(8, 1);
    EXPECT_EQ(Load("MINE"), 0);
    EXPECT_TRUE(inUse_.Marked(writer_.Windows("MINE.LKD")));
    EXPECT_EQ(std::filesystem::status(writer_.Host("MINE.LKD")).permissions(), permissions);
}

}  // namespace
}  // namespace linework
