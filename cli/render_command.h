// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "app/search_insight.h"
#include "interrupt_watch.h"
#include "model/messages.h"
#include "model/project.h"
#include "render/analysis_page.h"
#include "render/render_inputs.h"

namespace dorvo::cli {

struct RenderRequest {
    std::filesystem::path project;
    std::string page = "figure";   // figure, data, results or restraint
    std::filesystem::path output;  // .pdf, .png, .svg or .dxf
    int pageNumber = 1;            // PNG and SVG draw one page
    std::optional<int> dpi;
    std::optional<std::string> paper;  // A4, A3, B4 or Letter; else the default printer's
    bool landscape = false;
    FigureOptions figure;  // contours and annotations on the figure
    /// Whose critical circle the figure draws and annotates, and whose per-centre minima its
    /// contours show.
    SearchMethod method = SearchMethod::Ordinary;
    /// The planned Fs of the restraint force: marks the governing circle on the figure, and
    /// is the planned Fs of the page "restraint".
    std::optional<double> plannedFs;
    /// When set, a signal ends the drawing at once, which removes the files it has begun.
    InterruptWatch* interrupts = nullptr;
};

/// Draws a page kind of a project to a PDF (every page) or one page to PNG or SVG, or the
/// figure's section to DXF; returns the exit status.
int runRender(const RenderRequest& request, std::ostream& out, MessageSink& messages);

/// Draws a design analysis's page of a project to a PDF (every page) or its first page to PNG
/// or SVG, on the default paper; returns the exit status.
int renderAnalysisPage(const Project& project, const AnalysisPage& page,
                       const std::filesystem::path& output, std::ostream& out,
                       MessageSink& messages);

}  // namespace dorvo::cli
