// SPDX-License-Identifier: GPL-3.0-or-later
#include "dxf/section_dxf.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "app/calculation.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "settings/program_settings.h"
#include "support/memory_message_sink.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

/// What a DXF file holds as the library reads it back: its layers and the entities on each.
struct ReadBack : DL_CreationAdapter {
    struct Layer {
        int entities = 0;
        int lines = 0;
        int polylines = 0;
        int vertices = 0;
        int arcs = 0;
        int texts = 0;
    };
    std::map<std::string, int> layerColours;  // 0x00RRGGBB
    std::map<std::string, Layer> layers;
    std::vector<DL_ArcData> arcs;
    std::vector<std::string> texts;
    std::vector<DL_TextData> centreFs;

    Layer& current() { return layers[getAttributes().getLayer()]; }

    void addLayer(const DL_LayerData& layer) override {
        layerColours[layer.name] = getAttributes().getColor24();
    }
    void addLine(const DL_LineData&) override {
        ++current().entities;
        ++current().lines;
    }
    void addPolyline(const DL_PolylineData&) override {
        ++current().entities;
        ++current().polylines;
    }
    void addVertex(const DL_VertexData&) override { ++current().vertices; }
    void addArc(const DL_ArcData& arc) override {
        ++current().entities;
        ++current().arcs;
        arcs.push_back(arc);
    }
    void addText(const DL_TextData& text) override {
        ++current().entities;
        ++current().texts;
        texts.push_back(text.text);
        if (getAttributes().getLayer() == dxf_layer::kCentreFs) centreFs.push_back(text);
    }
};

ReadBack readBack(const std::filesystem::path& file) {
    ReadBack content;
    DL_Dxf dxf;
    EXPECT_TRUE(dxf.in(file.string(), &content)) << file;
    return content;
}

/// The example computed, and what the figure reads of its results.
struct ComputedExample {
    ComputedExample() {
        std::ifstream in(DORVO_EXAMPLES_DIR "/embankment.slw", std::ios::binary);
        std::ostringstream oldResults;
        test::MemoryMessageSink messages;
        if (readProjectLines(project, in, oldResults, "example", messages)) {
            const auto run = messages.valueOf(calculateInto(resultsFile, project, {}, nullptr));
            loaded = run && run->outcome == CalculationOutcome::Completed;
        }
        labels = readResultOverlay(resultsFile, critical);
    }

    SectionDxfInputs inputs() const { return {project, settings, labels, critical, 150, {}}; }

    test::TempFolder folder;
    std::filesystem::path resultsFile = folder.path() / "Tmp1.tmp";
    Project project;
    ProgramSettings settings = recommendedProgramSettings();
    std::vector<CentreLabel> labels;
    CriticalCircle critical;
    bool loaded = false;
};

TEST(SectionDxf, TheExampleReadsBackWithEachPartOnItsLayer) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::filesystem::path file = example.folder.path() / "section.dxf";
    ASSERT_TRUE(writeSectionDxf(file, example.inputs()));
    ReadBack dxf = readBack(file);

    // Layer 1 is the embankment over three blocks, 2 and 3 run under all five.
    EXPECT_EQ(dxf.layers["SOIL-1"].polylines, 3);
    EXPECT_EQ(dxf.layers["SOIL-2"].polylines, 5);
    EXPECT_EQ(dxf.layers["SOIL-3"].polylines, 5);
    EXPECT_EQ(dxf.layers["SOIL-3"].vertices, 5 * 4);
    EXPECT_EQ(dxf.layers["SOIL-3"].entities, 5);
    EXPECT_EQ(dxf.layerColours["SOIL-1"], 0xffc080);  // the layer's 0x80c0ff, red last

    EXPECT_EQ(dxf.layers["LOADS"].lines, 3);  // shaft and head of the one load
    EXPECT_EQ(dxf.layers["LOADS"].texts, 1);
    EXPECT_EQ(dxf.layers["CENTRE-GRID"].lines, 15 + 15);
    EXPECT_EQ(dxf.layers["CENTRE-FS"].texts, 15 * 15);
    EXPECT_EQ(dxf.layers["CRITICAL-CIRCLE"].arcs, 1);
    EXPECT_EQ(dxf.layers["CRITICAL-CIRCLE"].lines, 2);
    EXPECT_EQ(dxf.layers["0"].entities, 0);
    for (const char* layer : {"0", "SOIL-1", "SOIL-2", "SOIL-3", "LOADS", "CENTRE-GRID",
                              "CENTRE-FS", "CRITICAL-CIRCLE"}) {
        EXPECT_EQ(dxf.layerColours.count(layer), 1u) << layer;
    }
    EXPECT_EQ(dxf.layerColours.size(), 8u);
    EXPECT_NE(std::find(dxf.texts.begin(), dxf.texts.end(), "30.0 kN/m"), dxf.texts.end());
    EXPECT_NE(std::find(dxf.texts.begin(), dxf.texts.end(), "Fs = 1.013  R = 16.60"),
              dxf.texts.end());
}

TEST(SectionDxf, TheCriticalArcRunsFromP1ToP2ThroughTheBottomInModelMetres) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::filesystem::path file = example.folder.path() / "section.dxf";
    ASSERT_TRUE(writeSectionDxf(file, example.inputs()));
    const ReadBack dxf = readBack(file);
    ASSERT_EQ(dxf.arcs.size(), 1u);
    const DL_ArcData& arc = dxf.arcs[0];
    const CriticalCircle& c = example.critical;
    EXPECT_DOUBLE_EQ(arc.radius, 16.6);
    EXPECT_DOUBLE_EQ(arc.cx, 47.0);
    EXPECT_DOUBLE_EQ(arc.cy, 18.0);
    auto at = [&](double degrees) {
        const double radians = degrees * std::numbers::pi / 180.0;
        return std::pair{arc.cx + arc.radius * std::cos(radians),
                         arc.cy + arc.radius * std::sin(radians)};
    };
    EXPECT_NEAR(at(arc.angle1).first, c.p1x, 1e-3);
    EXPECT_NEAR(at(arc.angle1).second, c.p1y, 1e-3);
    EXPECT_NEAR(at(arc.angle2).first, c.p2x, 1e-3);
    EXPECT_NEAR(at(arc.angle2).second, c.p2y, 1e-3);
    // Counter-clockwise from the first angle to the second passes 270°, the bottom.
    const double sweep = std::fmod(arc.angle2 - arc.angle1 + 360.0, 360.0);
    const double toBottom = std::fmod(270.0 - arc.angle1 + 360.0, 360.0);
    EXPECT_LT(toBottom, sweep);
}

// A grid of centres far denser than its labels can stand apart at the figure's scale writes
// the labels the figure would show, not one per centre, and none off the drawing.
TEST(SectionDxf, CentreLabelsThatWouldOverlapOneWrittenBeforeOrLieOffTheDrawingAreLeftOut) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    example.labels.clear();
    for (int row = 0; row < 200; ++row) {
        for (int column = 0; column < 200; ++column) {
            example.labels.push_back(
                {40.0 + 0.05 * column, 14.0 + 0.05 * row, formatC("%.3f", 1.0 + 0.001 * column)});
        }
    }
    example.labels.push_back({5000.0, 14.0, "1.500"});
    const std::filesystem::path file = example.folder.path() / "section.dxf";
    ASSERT_TRUE(writeSectionDxf(file, example.inputs()));
    const std::vector<DL_TextData> written = readBack(file).centreFs;

    ASSERT_GT(written.size(), 20u);
    EXPECT_LT(written.size(), 1000u);                             // of 40,001
    const double height = 2.5 * 150 / 1000;                       // 2.5 mm on paper at 1 : 150
    EXPECT_NEAR(written.front().ipx, 40.0 + 0.3 * height, 1e-9);  // the first always shows
    EXPECT_NEAR(written.front().ipy, 14.0 + 0.3 * height, 1e-9);
    // Five characters of half a text height each; a sheet pixel of slack.
    const double width = 5 * 0.5 * height;
    const double slack = 0.1 * 150 / 1000;
    for (std::size_t a = 0; a < written.size(); ++a) {
        EXPECT_LT(written[a].ipx, 100.0);
        for (std::size_t b = a + 1; b < written.size(); ++b) {
            const bool apart = std::fabs(written[a].ipx - written[b].ipx) > width - slack ||
                               std::fabs(written[a].ipy - written[b].ipy) > height - slack;
            ASSERT_TRUE(apart) << written[a].text << " at " << written[a].ipx << ", "
                               << written[a].ipy << " and " << written[b].text << " at "
                               << written[b].ipx << ", " << written[b].ipy;
        }
    }
}

/// The group codes and values of a DXF file, in order.
std::vector<std::pair<int, std::string>> groupsOf(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::pair<int, std::string>> groups;
    std::string code;
    std::string value;
    while (std::getline(in, code) && std::getline(in, value)) {
        value.erase(0, value.find_first_not_of(' '));
        groups.emplace_back(std::stoi(code), value);
    }
    return groups;
}

TEST(SectionDxf, HandseedIsAboveEveryHandleAndTheModelSpaceOwnsEveryEntity) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::filesystem::path file = example.folder.path() / "section.dxf";
    ASSERT_TRUE(writeSectionDxf(file, example.inputs()));
    const auto groups = groupsOf(file);
    unsigned long seed = 0;
    unsigned long largest = 0;
    std::string modelSpace;
    std::string section;
    int entities = 0;
    int owned = 0;
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        if (code == 9 && value == "$HANDSEED") seed = std::stoul(groups[i + 1].second, nullptr, 16);
        if (code == 2 && groups[i - 1].second == "SECTION") section = value;
        if (section != "HEADER" && (code == 5 || code == 105)) {
            largest = std::max(largest, std::stoul(value, nullptr, 16));
        }
        if (code == 2 && value == "*Model_Space" && groups[i - 1].first == 100) {
            for (std::size_t j = i; j-- > 0 && modelSpace.empty();) {
                if (groups[j].first == 5) modelSpace = groups[j].second;
            }
        }
        if (section == "ENTITIES" && code == 0 && value != "ENDSEC" && value != "SECTION") {
            ++entities;
            if (groups[i + 2].first == 330 && groups[i + 2].second == modelSpace) ++owned;
        }
    }
    EXPECT_GT(seed, largest);
    EXPECT_FALSE(modelSpace.empty());
    EXPECT_GT(entities, 200);
    EXPECT_EQ(owned, entities);
}

TEST(SectionDxf, ResultValuesBeyondTheCalculationsBoundAreRefusedBeforeAnythingIsWritten) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    const std::filesystem::path file = example.folder.path() / "section.dxf";
    for (double CriticalCircle::*field : {&CriticalCircle::centreX, &CriticalCircle::radius,
                                          &CriticalCircle::p1x, &CriticalCircle::p2y}) {
        const CriticalCircle read = example.critical;
        example.critical.*field = 1e300;
        const Status written = writeSectionDxf(file, example.inputs());
        example.critical = read;
        ASSERT_FALSE(written);
        EXPECT_NE(written.error().text.find("結果の値が範囲外です"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(file));
    }
    example.labels.back().y = -1e300;
    const Status written = writeSectionDxf(file, example.inputs());
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().text, "結果の値が範囲外です: Ry = -1e+300");
}

TEST(SectionDxf, AFileThatCannotBeCreatedIsReported) {
    ComputedExample example;
    ASSERT_TRUE(example.loaded);
    EXPECT_FALSE(
        writeSectionDxf(example.folder.path() / "missing" / "section.dxf", example.inputs()));
}

}  // namespace
}  // namespace dorvo
