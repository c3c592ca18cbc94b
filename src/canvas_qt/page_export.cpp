// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_qt/page_export.h"

#include <QBuffer>
#include <QImage>
#include <QLocale>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <cmath>

#include "canvas_qt/qpainter_canvas.h"
#include "model/line_io.h"
#include "render/pages.h"

namespace dorvo {

namespace {

constexpr double kLayoutDpi = 600.0;

QSizeF sizeMm(const Paper& paper) {
    QSizeF size = paper.pageSize.size(QPageSize::Millimeter);
    if (paper.orientation == QPageLayout::Landscape) size.transpose();
    return size;
}

QSize sizePx(const Paper& paper, int dpi) {
    const QSizeF mm = sizeMm(paper);
    return {int(std::lround(mm.width() / 25.4 * dpi)), int(std::lround(mm.height() / 25.4 * dpi))};
}

/// Writes the bytes a device produced in place of the file, only once all of them are on
/// disk, so a full disk or a failed write leaves the old file as it was.
bool replaceFileWith(const std::filesystem::path& file, const QByteArray& bytes) {
    return writeFileAtomically(file,
                               [&](std::ostream& out) {
                                   out.write(bytes.constData(), bytes.size());
                                   return static_cast<bool>(out);
                               })
        .ok();
}

void setDpi(QImage& image, double dpi) {
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
}

/// A one-pixel image of a resolution, for passes that draw nothing worth keeping.
QImage pointAt(double dpi) {
    QImage device(1, 1, QImage::Format_RGB32);
    setDpi(device, dpi);
    return device;
}

/// A canvas at the layout resolution on a painter whose device has `dpi` pixels per inch.
QPainterCanvas layoutCanvas(QPainter& painter, int dpi) {
    painter.scale(dpi / kLayoutDpi, dpi / kLayoutDpi);
    return QPainterCanvas(painter, kLayoutDpi);
}

/// The whole paper in device pixels of the layout resolution.
DeviceRect layoutPage(const Paper& paper) {
    const QSize size = sizePx(paper, int(kLayoutDpi));
    return {0, 0, size.width(), size.height()};
}

bool writePngDrawing(const std::filesystem::path& file, const Paper& paper, int dpi,
                     const PageDrawing& draw) {
    QImage image(sizePx(paper, dpi), QImage::Format_RGB32);
    setDpi(image, dpi);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterCanvas canvas = layoutCanvas(painter, dpi);
        draw(canvas, layoutPage(paper));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && replaceFileWith(file, bytes);
}

bool writeSvgDrawing(const std::filesystem::path& file, const Paper& paper, int dpi,
                     const PageDrawing& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(dpi);
    const QSize size = sizePx(paper, dpi);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Dorvo"));
    QPainter painter;
    if (!painter.begin(&generator)) return false;
    {
        QPainterCanvas canvas = layoutCanvas(painter, dpi);
        draw(canvas, layoutPage(paper));
    }
    return painter.end() && replaceFileWith(file, bytes);
}

}  // namespace

int Paper::widthMm() const {
    return static_cast<int>(std::trunc(sizeMm(*this).width()));
}
int Paper::heightMm() const {
    return static_cast<int>(std::trunc(sizeMm(*this).height()));
}

std::optional<Paper> defaultPrinterPaper() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return std::nullopt;
    const QPageSize size = printer.defaultPageSize();
    if (!size.isValid()) return std::nullopt;
    return Paper{size, QPageLayout::Portrait};
}

Paper localeDefaultPaper() {
    const bool us = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    return Paper{QPageSize(us ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait};
}

std::optional<Paper> paperNamed(std::string_view name, bool landscape) {
    const auto orientation = landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (name == "A4") return Paper{QPageSize(QPageSize::A4), orientation};
    if (name == "A3") return Paper{QPageSize(QPageSize::A3), orientation};
    if (name == "B4") return Paper{QPageSize(QPageSize::JisB4), orientation};
    if (name == "Letter") return Paper{QPageSize(QPageSize::Letter), orientation};
    return std::nullopt;
}

void rememberScreenHeights(const RenderInputs& inputs, PageState& state) {
    QImage screen = pointAt(kScreenDpi);
    QPainter painter(&screen);
    QPainterCanvas canvas(painter, kScreenDpi);
    const bool printing = state.view.printing;
    state.view.printing = false;
    drawPage(canvas, inputs, state);
    state.view.printing = printing;
}

int pageCount(const RenderInputs& inputs, PageState& state) {
    return *pageCount(inputs, state, {});
}

std::optional<int> pageCount(const RenderInputs& inputs, PageState& state,
                             const CountingCheck& carryOn) {
    QImage device = pointAt(kLayoutDpi);
    QPainter painter(&device);
    QPainterCanvas canvas(painter, kLayoutDpi);
    return countPages(canvas, inputs, state, carryOn);
}

std::optional<int> writePdf(const std::filesystem::path& file, const Paper& paper,
                            const RenderInputs& inputs, PageState& state, int dpi) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(paper.pageSize);
    writer.setPageOrientation(paper.orientation);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("Dorvo"));
    QPainter painter;
    if (!painter.begin(&writer)) return std::nullopt;
    QPainterCanvas canvas = layoutCanvas(painter, dpi);
    const int pages = countPages(canvas, inputs, state);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1) writer.newPage();
        state.view.currentPage = page;
        drawPage(canvas, inputs, state);
    }
    state.view.currentPage = 1;
    if (!painter.end() || !replaceFileWith(file, bytes)) return std::nullopt;
    return pages;
}

PrintOutcome printPages(QPagedPaintDevice& device, int dpi, const RenderInputs& inputs,
                        PageState& state, int from, int to, const PrintProgressCheck& carryOn) {
    QPainter painter;
    if (!painter.begin(&device)) return PrintOutcome::Failed;
    QPainterCanvas canvas = layoutCanvas(painter, dpi);
    const bool printing = state.view.printing;
    const int shown = state.view.currentPage;
    state.view.printing = true;
    bool stopped = false;
    for (int page = from; page <= to; ++page) {
        if (carryOn && !carryOn(page - from, to - from + 1)) {
            stopped = true;
            break;
        }
        if (page > from) device.newPage();
        state.view.currentPage = page;
        drawPage(canvas, inputs, state);
    }
    state.view.printing = printing;
    state.view.currentPage = shown;
    if (stopped) {
        if (auto* printer = dynamic_cast<QPrinter*>(&device)) printer->abort();
        painter.end();
        return PrintOutcome::Cancelled;
    }
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::Failed;
}

Result<PrintOutcome> printPagesToPdf(const std::filesystem::path& file, const QPageLayout& layout,
                                     int dpi, const RenderInputs& inputs, PageState& state,
                                     int from, int to, const PrintProgressCheck& carryOn) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(layout);
        writer.setResolution(dpi);
        writer.setCreator(QStringLiteral("Dorvo"));
        const PrintOutcome outcome = printPages(writer, dpi, inputs, state, from, to, carryOn);
        if (outcome == PrintOutcome::Cancelled) return PrintOutcome::Cancelled;
        if (outcome == PrintOutcome::Failed) return Failure{cannotWriteMessage(file)};
    }
    const Status written = writeFileAtomically(file, [&](std::ostream& out) {
        out.write(bytes.constData(), bytes.size());
        return static_cast<bool>(out);
    });
    if (!written) return Failure{written.error()};
    return PrintOutcome::Printed;
}

bool writePng(const std::filesystem::path& file, const Paper& paper, const RenderInputs& inputs,
              PageState& state, int dpi) {
    return writePngDrawing(file, paper, dpi,
                           [&](Canvas& canvas, DeviceRect) { drawPage(canvas, inputs, state); });
}

bool writeSvg(const std::filesystem::path& file, const Paper& paper, const RenderInputs& inputs,
              PageState& state, int dpi) {
    return writeSvgDrawing(file, paper, dpi,
                           [&](Canvas& canvas, DeviceRect) { drawPage(canvas, inputs, state); });
}

bool writeDrawing(const std::filesystem::path& file, const Paper& paper, int dpi,
                  const PageDrawing& draw) {
    const std::string extension = file.extension().string();
    if (extension == ".png") return writePngDrawing(file, paper, dpi, draw);
    if (extension == ".svg") return writeSvgDrawing(file, paper, dpi, draw);
    if (extension != ".pdf") return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(paper.pageSize);
    writer.setPageOrientation(paper.orientation);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(dpi);
    writer.setCreator(QStringLiteral("Dorvo"));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    {
        QPainterCanvas canvas = layoutCanvas(painter, dpi);
        draw(canvas, layoutPage(paper));
    }
    return painter.end() && replaceFileWith(file, bytes);
}

}  // namespace dorvo
