// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <filesystem>
#include <functional>
#include <optional>

#include "model/result.h"
#include "render/render_inputs.h"
#include "render/results_page.h"

namespace dorvo {

/// A paper size in whole millimetres as the pages measure it, and its Qt page size.
struct Paper {
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;

    int widthMm() const;
    int heightMm() const;
};

/// The default printer's paper, when there is a printer.
std::optional<Paper> defaultPrinterPaper();

/// The paper of the user's locale when there is no printer: Letter where the locale measures
/// in US units, A4 elsewhere.
Paper localeDefaultPaper();

/// A paper by name: A4, A3, B4 (the Japanese B4) or Letter; nothing for another name.
std::optional<Paper> paperNamed(std::string_view name, bool landscape);

/// Draws the shown page as the screen shows it (96 dpi, not printing), so that the pages of
/// every file remember the screen's row heights and break where the screen's pages break.
void rememberScreenHeights(const RenderInputs& inputs, PageState& state);

// Every file lays its pages out at one print resolution and scales them to its own, so page N
// is the same page in a PDF, a PNG and an SVG whatever their resolutions.

/// Writes every page of the shown page kind to a PDF, as the printer would print them.
/// Returns the number of pages written, or nothing when the file could not be written.
std::optional<int> writePdf(const std::filesystem::path& file, const Paper& paper,
                            const RenderInputs& inputs, PageState& state, int dpi);

/// Writes one page to a PNG image at a resolution; false when it could not be written.
bool writePng(const std::filesystem::path& file, const Paper& paper, const RenderInputs& inputs,
              PageState& state, int dpi);

/// Writes one page to an SVG drawing; false when it could not be written.
bool writeSvg(const std::filesystem::path& file, const Paper& paper, const RenderInputs& inputs,
              PageState& state, int dpi);

enum class PrintOutcome { Printed, Cancelled, Failed };

/// Told before each page is printed how many of how many are done; false stops the printing.
using PrintProgressCheck = std::function<bool(int done, int total)>;

/// Draws one page of its own (not a page kind of the project) inside the whole paper.
using PageDrawing = std::function<void(Canvas& canvas, DeviceRect page)>;

/// Writes a page drawn by `draw` to a PDF, a PNG or an SVG, chosen by the file's extension,
/// laid out at the print resolution as every file is; false when it could not be written or
/// the extension is none of the three.
bool writeDrawing(const std::filesystem::path& file, const Paper& paper, int dpi,
                  const PageDrawing& draw);

/// Prints pages `from` … `to` of the shown page kind on a paged device (a printer, or a PDF
/// writer) laid out as every file is. A printer whose printing is stopped abandons its job.
PrintOutcome printPages(QPagedPaintDevice& device, int dpi, const RenderInputs& inputs,
                        PageState& state, int from, int to, const PrintProgressCheck& carryOn = {});

/// Prints pages `from` … `to` as `printPages` does into a PDF file in this page layout,
/// replacing the file only once the whole document is written; a failure says why. Printing
/// stopped through `carryOn` leaves the file as it was.
Result<PrintOutcome> printPagesToPdf(const std::filesystem::path& file, const QPageLayout& layout,
                                     int dpi, const RenderInputs& inputs, PageState& state,
                                     int from, int to, const PrintProgressCheck& carryOn = {});

/// The number of pages of the shown page kind in every file.
int pageCount(const RenderInputs& inputs, PageState& state);

/// Counts as pageCount does, asking `carryOn` as countPages does; nothing when it stopped the
/// count.
std::optional<int> pageCount(const RenderInputs& inputs, PageState& state,
                             const CountingCheck& carryOn);

}  // namespace dorvo
