// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/varied_section.h"

#include <cmath>

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

const char* quantityName(VariedQuantity quantity) {
    switch (quantity) {
        case VariedQuantity::Gamma1:
            return "gamma1";
        case VariedQuantity::Gamma2:
            return "gamma2";
        case VariedQuantity::Phi:
            return "phi";
        case VariedQuantity::Co:
            return "co";
        case VariedQuantity::K:
            return "k";
        case VariedQuantity::SeismicCoefficient:
            return "kh";
        case VariedQuantity::LoadForce:
            return "force";
    }
    return "";
}

bool isLayerQuantity(VariedQuantity quantity) {
    return quantity != VariedQuantity::SeismicCoefficient && quantity != VariedQuantity::LoadForce;
}

}  // namespace

std::optional<SectionSlot> sectionSlot(const Project& project, const VariedParameter& parameter) {
    if (parameter.quantity == VariedQuantity::SeismicCoefficient) {
        return SectionSlot{parameter.quantity, 0};
    }
    if (parameter.quantity == VariedQuantity::LoadForce) {
        if (parameter.number < 1 || parameter.number > kMaxLoads) return std::nullopt;
        if (!isPresent(project.load(parameter.number).x)) return std::nullopt;
        std::size_t index = 0;  // the section keeps the loads of the filled slots only
        for (int slot = 1; slot < parameter.number; ++slot) {
            if (isPresent(project.load(slot).x)) ++index;
        }
        return SectionSlot{parameter.quantity, index};
    }
    const auto row = findLayerRow(project, parameter.number);
    if (!row) return std::nullopt;
    return SectionSlot{parameter.quantity, static_cast<std::size_t>(*row - 1)};
}

double projectValue(const Project& project, const VariedParameter& parameter) {
    if (parameter.quantity == VariedQuantity::SeismicCoefficient) {
        return readReal(project.settings.line(settings_line::kKh));
    }
    if (parameter.quantity == VariedQuantity::LoadForce) {
        return readReal(project.load(parameter.number).force);
    }
    const auto row = findLayerRow(project, parameter.number);
    if (!row) return 0.0;
    const Layer& layer = project.layer(*row);
    switch (parameter.quantity) {
        case VariedQuantity::Gamma1:
            return readReal(layer.gamma1);
        case VariedQuantity::Gamma2:
            return readReal(layer.gamma2);
        case VariedQuantity::Phi:
            return readReal(layer.phi);
        case VariedQuantity::Co:
            return readReal(layer.co);
        default:
            return readReal(layer.k);
    }
}

bool setSectionValue(Section& section, const SectionSlot& slot, double value) {
    if (!isUsableInput(value)) return false;
    switch (slot.quantity) {
        case VariedQuantity::SeismicCoefficient:
            section.kh = value;
            return true;
        case VariedQuantity::LoadForce:
            section.loads.at(slot.index).force = value;
            return true;
        default:
            break;
    }
    SoilLayer& layer = section.layers.at(slot.index);
    switch (slot.quantity) {
        case VariedQuantity::Gamma1:
            layer.gamma1 = value;
            break;
        case VariedQuantity::Gamma2:
            layer.gamma2 = value;
            break;
        case VariedQuantity::Phi: {
            const double tanPhi = frictionTangent(value);
            if (!std::isfinite(tanPhi)) return false;
            layer.tanPhi = tanPhi;
            break;
        }
        case VariedQuantity::Co:
            layer.co = value;
            break;
        default:
            layer.k = value;
            break;
    }
    return true;
}

std::string parameterName(const VariedParameter& parameter) {
    if (parameter.quantity == VariedQuantity::SeismicCoefficient) return "kh";
    const std::string owner = isLayerQuantity(parameter.quantity) ? "layer " : "load ";
    return owner + std::to_string(parameter.number) + " " + quantityName(parameter.quantity);
}

}  // namespace dorvo
