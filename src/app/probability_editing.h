// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/design_tables.h"
#include "app/document.h"
#include "app/probability_inputs.h"
#include "calc/probability_summary.h"
#include "model/result.h"

namespace dorvo {

/// What the dialog starts from: the inputs the document keeps, else the side file of its
/// project file, else the defaults with no uncertain parameter. Inputs that do not read fail,
/// naming the file and the field.
Result<ProbabilitySpec> startingProbabilitySpec(const Document& document);

/// Keeps the inputs in the document, to be saved with it; marks it modified and returns true
/// when they changed.
bool keepProbabilityInputs(Document& document, const ProbabilitySpec& spec);

/// After the project was saved: writes the inputs the document keeps beside its file (under
/// its new name after Save As). Nothing is written when it keeps none.
Status saveProbabilityInputs(const Document& document);

/// Before the project is saved under another name: the document keeps the side file of its
/// present file, byte for byte, so that the inputs go along to the new name.
void takeProbabilityInputsAlong(Document& document);

/// The uncertain parameters and correlations of a spec as the dialog edits them: the JSON
/// object of the file with only these two fields.
std::string uncertaintiesJson(const ProbabilitySpec& spec);

/// The spec of `run` (its realisations, seed, sampling and mode) with the parameters and
/// correlations of the edited text; a failure names the field as the file reader does.
Result<ProbabilitySpec> withUncertainties(ProbabilitySpec run, std::string_view text);

/// The histogram of Fs: each bin's range, count and the cumulative share in percent.
AnalysisTable probabilityTable(const ProbabilitySummary& summary);

}  // namespace dorvo
