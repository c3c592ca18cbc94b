// SPDX-License-Identifier: GPL-3.0-or-later
#include "dxf/section_dxf.h"

#include <dl_dxf.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <set>
#include <span>

#include "calc/circle_search.h"
#include "calc/section.h"
#include "model/number_text.h"
#include "render/drawing.h"
#include "render/figure_blocks.h"
#include "render/label_placement.h"

namespace dorvo {

namespace dxf_layer {
std::string soil(int layerNo) {
    return "SOIL-" + std::to_string(layerNo);
}
}  // namespace dxf_layer

namespace {

constexpr int kMostGridLines = 400;  // as many as the figure draws
constexpr double kTextMm = 2.5;
constexpr double kLoadArrowMm = 8.0;
constexpr int kAciWhite = 7;  // black on a white sheet
constexpr int kAciByLayer = 256;
constexpr int kUnitsMetres = 6;
constexpr int kMetricDrawing = 1;

/// 0x00RRGGBB for DXF from the figure's 0x00BBGGRR.
int trueColour(Colour colour) {
    return static_cast<int>((colour & 0xffu) << 16 | (colour & 0xff00u) | (colour >> 16 & 0xffu));
}

double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

/// The largest magnitude written as a DXF number: its sixteen decimals and the digits before
/// the point stay well inside the buffer the library formats each number into.
constexpr double kLargestDxfMagnitude = 1.0e15;

bool fitsDxf(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(),
                       [](double v) { return std::abs(v) <= kLargestDxfMagnitude; });
}

/// Why a value the figure read of the results cannot be drawn, or nothing.
std::optional<Message> unusableResultValue(const CriticalCircle& critical,
                                           const std::vector<CentreLabel>& labels) {
    auto refuse = [](std::string_view name, double value) {
        return literalMessage("結果の値が範囲外です: " + std::string(name) + " = " +
                              formatC("%g", value));
    };
    const std::pair<const char*, double> circle[] = {
        {"Rx", critical.centreX}, {"Ry", critical.centreY}, {"R", critical.radius},
        {"P1 X", critical.p1x},   {"P1 Y", critical.p1y},   {"P2 X", critical.p2x},
        {"P2 Y", critical.p2y}};
    for (const auto& [name, value] : circle) {
        if (!isUsableInput(value)) return refuse(name, value);
    }
    for (const CentreLabel& label : labels) {
        if (!isUsableInput(label.x)) return refuse("Rx", label.x);
        if (!isUsableInput(label.y)) return refuse("Ry", label.y);
    }
    return std::nullopt;
}

/// The handle of the model space's block record, which the library's block records give it
/// and which owns every entity.
constexpr int kModelSpaceRecord = 0x1F;

/// The finest sheet on which the labels are placed, in device pixels per paper millimetre,
/// and the most pixels it may span: device coordinates end at ±32767.
constexpr double kSheetPxPerMm = 10.0;
constexpr double kSheetMostPx = 30000.0;

/// The rectangle of the model that the section and the centre grid cover.
struct ModelExtent {
    double left = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();

    void take(double x, double y) {
        left = std::min(left, x);
        right = std::max(right, x);
        bottom = std::min(bottom, y);
        top = std::max(top, y);
    }
    bool usable() const {
        return std::isfinite(left) && std::isfinite(right) && std::isfinite(bottom) &&
               std::isfinite(top);
    }
};

ModelExtent drawingExtent(const Project& project, const std::vector<FigureBlock>& blocks) {
    ModelExtent extent;
    for (const FigureBlock& block : blocks) {
        for (const Band& band : block.bands) {
            extent.take(block.left, band.bottomLeft);
            extent.take(block.left, band.topLeft);
            extent.take(block.right, band.bottomRight);
            extent.take(block.right, band.topRight);
        }
    }
    if (auto search = validCircleSearch(project.circleSearch)) {
        const CircleSearchValues& v = search->values();
        extent.take(v.centreStartX(), v.centreStartY());
        extent.take(v.centreEndX(), v.centreEndY());
    }
    return extent;
}

/// The centres' labels the drawing writes: those the figure would show on a sheet that holds
/// the whole section and centre grid at its scale, so that a dense grid of centres writes the
/// labels that stand apart, not one per centre.
std::vector<std::size_t> shownCentreLabels(const SectionDxfInputs& inputs,
                                           const std::vector<FigureBlock>& blocks) {
    const ModelExtent extent = drawingExtent(inputs.project, blocks);
    if (!extent.usable()) return {};
    const double mmPerMetre = 1000.0 / std::max(inputs.scale, 1);
    const double spanMm =
        std::max(extent.right - extent.left, extent.top - extent.bottom) * mmPerMetre;
    const double pxPerMm = std::min(kSheetPxPerMm, kSheetMostPx / spanMm);
    if (!(pxPerMm > 0.0)) return {};
    DeviceMapping sheet;
    sheet.dpiX = sheet.dpiY = pxPerMm * 25.4;
    sheet.pxPerMmX = sheet.pxPerMmY = pxPerMm;
    sheet.pxPerMetreX = sheet.pxPerMetreY = pxPerMm * mmPerMetre;
    sheet.shiftX = -extent.left;
    sheet.topY = extent.top;
    const DeviceRect window{0, 0, toDeviceX(sheet, extent.right), toDeviceY(sheet, extent.bottom)};
    const int fontHeight = std::max(1, static_cast<int>(std::lround(kTextMm * pxPerMm)));
    return placeCentreLabels(inputs.labels, sheet, window, fontHeight);
}

class SectionDxfWriter {
  public:
    /// `shownLabels` are the places in the inputs' labels of those to write.
    SectionDxfWriter(const std::filesystem::path& file, const SectionDxfInputs& inputs,
                     const std::vector<FigureBlock>& blocks,
                     std::span<const std::size_t> shownLabels)
        : inputs_(inputs),
          shownLabels_(shownLabels),
          blocks_(blocks),
          metresPerMm_(std::max(inputs.scale, 1) * 0.001),
          out_(dxf_.out(file.c_str(), DL_Codes::AC1015)) {}

    bool opened() const { return out_ != nullptr && !out_->openFailed(); }

    /// The handle the next object would get: once written, one above the largest.
    unsigned long nextHandle() const { return out_->getNextHandle(); }

    /// Writes the drawing; `handleSeed` is above every handle it writes.
    void write(unsigned long handleSeed) {
        out_->sectionHeader();
        out_->dxfString(9, "$ACADVER");
        out_->dxfString(1, "AC1015");
        out_->dxfString(9, "$HANDSEED");
        out_->dxfHex(5, static_cast<int>(handleSeed));
        out_->dxfString(9, "$INSUNITS");
        out_->dxfInt(70, kUnitsMetres);
        out_->dxfString(9, "$MEASUREMENT");
        out_->dxfInt(70, kMetricDrawing);
        out_->sectionEnd();
        writeTables();
        writeBlocks();
        out_->sectionEntities();
        writeSoilBands();
        writeLoads();
        writeCentreGrid();
        writeCriticalCircle();
        out_->sectionEnd();
        dxf_.writeObjects(*out_);
        dxf_.writeObjectsEnd(*out_);
        out_->dxfEOF();
        out_->close();
    }

  private:
    struct LayerSpec {
        std::string name;
        Colour colour;
    };

    std::vector<LayerSpec> layers() const {
        const ProgramSettings& s = inputs_.settings;
        std::vector<LayerSpec> specs = {{"0", 0}};
        std::set<int> soilLayers;
        for (const FigureBlock& block : blocks_) {
            for (const Band& band : block.bands) soilLayers.insert(band.layerNo);
        }
        for (int layerNo : soilLayers) {
            const auto row = findLayerRow(inputs_.project, layerNo);
            specs.push_back({dxf_layer::soil(layerNo),
                             row ? colourFromText(inputs_.project.layer(*row).colour) : 0});
        }
        specs.push_back({dxf_layer::kLoads, colourFromText(s.loadColour)});
        specs.push_back({dxf_layer::kCentreGrid, colourFromText(s.centreGridColour)});
        specs.push_back({dxf_layer::kCentreFs, 0});
        specs.push_back({dxf_layer::kCriticalCircle, colourFromText(s.arcColour)});
        return specs;
    }

    void writeTables() {
        out_->sectionTables();
        dxf_.writeVPort(*out_);
        out_->tableLinetypes(3);
        dxf_.writeLinetype(*out_, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
        dxf_.writeLinetype(*out_, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
        dxf_.writeLinetype(*out_, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        out_->tableEnd();
        const std::vector<LayerSpec> specs = layers();
        out_->tableLayers(static_cast<int>(specs.size()));
        for (const LayerSpec& spec : specs) {
            dxf_.writeLayer(
                *out_, DL_LayerData(spec.name, 0),
                DL_Attributes("", kAciWhite, trueColour(spec.colour), -3, "CONTINUOUS"));
        }
        out_->tableEnd();
        out_->tableStyle(1);
        dxf_.writeStyle(*out_,
                        DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, textHeight(), "txt", ""));
        out_->tableEnd();
        dxf_.writeView(*out_);
        dxf_.writeUcs(*out_);
        out_->tableAppid(1);
        dxf_.writeAppid(*out_, "ACAD");
        out_->tableEnd();
        dxf_.writeDimStyle(*out_, 1, 1, 1, 1, textHeight());
        dxf_.writeBlockRecord(*out_);
        out_->tableEnd();
        out_->sectionEnd();
    }

    void writeBlocks() {
        out_->sectionBlocks();
        for (const char* space : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
            dxf_.writeBlock(*out_, DL_BlockData(space, 0, 0.0, 0.0, 0.0));
            dxf_.writeEndBlock(*out_, space);
        }
        out_->sectionEnd();
    }

    double textHeight() const { return kTextMm * metresPerMm_; }

    /// The start of an entity of the model space on a layer, in the layer's colour and line.
    void beginEntity(const char* type, const std::string& layer, const char* subclass) {
        out_->dxfString(0, type);
        out_->handle();
        out_->dxfHex(330, kModelSpaceRecord);
        out_->dxfString(100, "AcDbEntity");
        out_->dxfString(8, layer);
        out_->dxfInt(62, kAciByLayer);
        out_->dxfInt(370, -1);
        out_->dxfReal(48, 1.0);
        out_->dxfString(6, "BYLAYER");
        out_->dxfString(100, subclass);
    }

    /// Whether every value fits a DXF number; one that does not spoils the whole drawing.
    bool fits(std::initializer_list<double> values) {
        if (!fitsDxf(values)) tooLarge_ = true;
        return !tooLarge_;
    }

    void line(const std::string& layer, double x1, double y1, double x2, double y2) {
        if (!fits({x1, y1, x2, y2})) return;
        beginEntity("LINE", layer, "AcDbLine");
        out_->coord(10, x1, y1);
        out_->coord(11, x2, y2);
    }

    /// Text whose baseline starts at the point, or is centred on it.
    void text(const std::string& layer, double x, double y, const std::string& value,
              bool centred) {
        if (!fits({x, y})) return;
        beginEntity("TEXT", layer, "AcDbText");
        out_->coord(10, x, y);
        out_->dxfReal(40, textHeight());
        out_->dxfString(1, value);
        out_->dxfString(7, "Standard");
        out_->dxfInt(72, centred ? 1 : 0);
        out_->coord(11, x, y);
        out_->dxfString(100, "AcDbText");
    }

    void writeSoilBands() {
        for (const FigureBlock& block : blocks_) {
            for (const Band& band : block.bands) {
                if (!fits({block.left, block.right, band.bottomLeft, band.bottomRight, band.topLeft,
                           band.topRight})) {
                    return;
                }
                beginEntity("LWPOLYLINE", dxf_layer::soil(band.layerNo), "AcDbPolyline");
                out_->dxfInt(90, 4);
                out_->dxfInt(70, 1);  // closed
                for (auto [x, y] : {std::pair{block.left, band.bottomLeft},
                                    {block.right, band.bottomRight},
                                    {block.right, band.topRight},
                                    {block.left, band.topLeft}}) {
                    out_->dxfReal(10, x);
                    out_->dxfReal(20, y);
                }
            }
        }
    }

    void writeLoads() {
        const double length = kLoadArrowMm * metresPerMm_;
        const double headHalfWidth = 1.0 * metresPerMm_;
        const double headLength = 2.5 * metresPerMm_;
        const bool tonnes =
            readInteger(inputs_.project.settings.line(settings_line::kUnitDisplay)) == 2;
        for (const LoadOnGround& load : loadsOnGround(inputs_.project, blocks_)) {
            line(dxf_layer::kLoads, load.x, load.y, load.x, load.y + length);
            line(dxf_layer::kLoads, load.x, load.y, load.x - headHalfWidth, load.y + headLength);
            line(dxf_layer::kLoads, load.x, load.y, load.x + headHalfWidth, load.y + headLength);
            text(dxf_layer::kLoads, load.x, load.y + length + metresPerMm_,
                 formatC("%.1f %s", readReal(load.force), tonnes ? "tf/m" : "kN/m"), true);
        }
    }

    void writeCentreGrid() {
        if (auto search = validCircleSearch(inputs_.project.circleSearch)) {
            const CircleSearchValues& v = search->values();
            int rows = 0;
            for (double y = v.centreStartY();
                 y <= v.centreEndY() + kEpsilon && rows < kMostGridLines; y += v.stepY(), ++rows) {
                line(dxf_layer::kCentreGrid, v.centreStartX(), y, v.centreEndX(), y);
            }
            int columns = 0;
            for (double x = v.centreStartX();
                 x <= v.centreEndX() + kEpsilon && columns < kMostGridLines;
                 x += v.stepX(), ++columns) {
                line(dxf_layer::kCentreGrid, x, v.centreStartY(), x, v.centreEndY());
            }
        }
        const double offset = 0.3 * textHeight();
        for (const std::size_t i : shownLabels_) {
            const CentreLabel& label = inputs_.labels[i];
            text(dxf_layer::kCentreFs, label.x + offset, label.y + offset, label.text, false);
        }
    }

    void writeCriticalCircle() {
        const CriticalCircle& c = inputs_.critical;
        if (!(c.radius > 0.0) ||
            !fits({c.centreX, c.centreY, c.radius, c.p1x, c.p1y, c.p2x, c.p2y})) {
            return;
        }
        const double from = std::atan2(c.p1y - c.centreY, c.p1x - c.centreX);
        const double to = std::atan2(c.p2y - c.centreY, c.p2x - c.centreX);
        // The arc runs counter-clockwise from P1 to P2, through the bottom of the circle.
        beginEntity("ARC", dxf_layer::kCriticalCircle, "AcDbCircle");
        out_->coord(10, c.centreX, c.centreY);
        out_->dxfReal(40, c.radius);
        out_->dxfString(100, "AcDbArc");
        out_->dxfReal(50, degrees(from));
        out_->dxfReal(51, degrees(to));
        line(dxf_layer::kCriticalCircle, c.centreX, c.centreY, c.p1x, c.p1y);
        line(dxf_layer::kCriticalCircle, c.centreX, c.centreY, c.p2x, c.p2y);
        double sweep = to - from;
        if (sweep <= 0.0) sweep += 2 * std::numbers::pi;
        const double middle = from + sweep / 2;
        const double inside = c.radius - 2 * textHeight();
        std::string label = formatC("R = %.2f", c.radius);
        for (const CentreLabel& centre : inputs_.labels) {
            if (std::fabs(centre.x - c.centreX) < 0.005 &&
                std::fabs(centre.y - c.centreY) < 0.005) {
                const std::string method =
                    inputs_.method.empty() ? "" : " (" + inputs_.method + ")";
                label = "Fs = " + centre.text + method + "  " + label;
            }
        }
        text(dxf_layer::kCriticalCircle, c.centreX + inside * std::cos(middle),
             c.centreY + inside * std::sin(middle), label, true);
    }

  public:
    bool tooLarge() const { return tooLarge_; }

  private:
    const SectionDxfInputs& inputs_;
    std::span<const std::size_t> shownLabels_;
    bool tooLarge_ = false;
    const std::vector<FigureBlock>& blocks_;
    double metresPerMm_;
    DL_Dxf dxf_;
    std::unique_ptr<DL_WriterA> out_;
};

/// Whether the file ends with the end-of-file group, which is written last: a full disk
/// cuts the file short before it.
bool endsWithEof(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    const std::streamoff tail = std::min<std::streamoff>(size, 8);
    in.seekg(size - tail);
    std::string end(static_cast<std::size_t>(tail), '\0');
    in.read(end.data(), tail);
    return end.find("EOF") != std::string::npos;
}

}  // namespace

Status writeSectionDxf(const std::filesystem::path& file, const SectionDxfInputs& inputs) {
    if (auto unusable = unusableResultValue(inputs.critical, inputs.labels)) {
        return Failure{*unusable};
    }
    const std::vector<FigureBlock> blocks = figureBlocks(inputs.project);
    const std::vector<std::size_t> shown = shownCentreLabels(inputs, blocks);
    // A first pass without the centres' labels, one handle each, counts the handles.
    SectionDxfWriter counting("/dev/null", inputs, blocks, {});
    counting.write(0);
    const unsigned long handleSeed = counting.nextHandle() + shown.size();
    SectionDxfWriter writer(file, inputs, blocks, shown);
    if (!writer.opened()) return Failure{cannotWriteMessage(file)};
    writer.write(handleSeed);
    if (writer.tooLarge()) {
        return Failure{literalMessage("図に描けない大きな値があります")};
    }
    if (!endsWithEof(file)) return Failure{cannotWriteMessage(file)};
    return Done{};
}

}  // namespace dorvo
