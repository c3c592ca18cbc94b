// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/circle_search_editing.h"

#include "calc/circle_search.h"
#include "model/encoding.h"
#include "model/storable_text.h"

namespace dorvo {

CircleSearchTexts circleSearchTexts(const Project& project) {
    CircleSearchTexts texts;
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        texts[static_cast<std::size_t>(line - 1)] = toDisplayText(project.circleSearch.line(line));
    }
    texts.back() = toDisplayText(project.settings.line(settings_line::kKh));
    return texts;
}

CircleSearchStep acceptCircleSearch(Project& project, const CircleSearchTexts& typed, int showing,
                                    MessageSink& messages) {
    CircleSearchTexts stored;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        Result<std::string> text = toStorableText(typed[i], CellStorage::WholeLine);
        if (!text) {
            messages.report(text.error());
            return CircleSearchStep::KeepOpen;
        }
        stored[i] = std::move(text).value();
    }
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        project.circleSearch.line(line) = stored[static_cast<std::size_t>(line - 1)];
    }
    project.settings.line(settings_line::kKh) = stored.back();
    if (validCircleSearch(project.circleSearch, &messages)) return CircleSearchStep::Done;
    return showing >= kCircleSearchShowings ? CircleSearchStep::Done : CircleSearchStep::ShowAgain;
}

}  // namespace dorvo
