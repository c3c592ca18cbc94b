// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <filesystem>
#include <optional>

#include "render/render_inputs.h"

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

/// Prints pages `from` … `to` of the shown page kind on a paged device (a printer, or a PDF
/// writer) laid out as every file is; false when the device could not be painted on.
bool printPages(QPagedPaintDevice& device, int dpi, const RenderInputs& inputs, PageState& state,
                int from, int to);

/// The number of pages of the shown page kind in every file.
int pageCount(const RenderInputs& inputs, PageState& state);

}  // namespace dorvo
