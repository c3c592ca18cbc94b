// Published slope problems rebuilt as projects and held to their published factors of safety;
// docs/verification.md and its figures are written from the same computation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "model/line_io.h"
#include "support/temp_folder.h"
#include "verification/verification_manual.h"

namespace dorvo::verification {
namespace {

const std::filesystem::path kDocs = DORVO_SOURCE_DIR "/docs";
const std::filesystem::path kProjects = DORVO_TEST_DATA_DIR "/verification";

/// Every problem computed once for all the tests, each with the results file its figure reads.
struct ComputedManual {
    ComputedManual() {
        for (const VerificationCase& problem : verificationCases()) {
            auto& folder = folders.emplace_back(std::make_unique<test::TempFolder>());
            Project& project = projects.emplace_back(std::make_unique<Project>()).operator*();
            ComputedCase c{&problem, computeCase(kProjects / (problem.file + ".slw"),
                                                 folder->path() / "Tmp1.tmp", project)};
            if (problem.file == "fredlund-krahn-case1") fredlundKrahn = prepareSection(project);
            cases.push_back(std::move(c));
        }
    }

    const ComputedCase& of(const std::string& file) const {
        for (const ComputedCase& c : cases)
            if (c.problem->file == file) return c;
        throw std::logic_error("no case " + file);
    }

    std::vector<std::unique_ptr<test::TempFolder>> folders;
    std::vector<std::unique_ptr<Project>> projects;
    std::vector<ComputedCase> cases;
    PreparedSection fredlundKrahn;
};

const ComputedManual& manual() {
    static const ComputedManual computed;
    return computed;
}

std::string testNameOf(const ::testing::TestParamInfo<VerificationCase>& info) {
    std::string name = info.param.file;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

/// The problems the model rebuilds exactly; the others are shown with their difference.
std::vector<VerificationCase> rebuiltExactly() {
    std::vector<VerificationCase> cases;
    for (const VerificationCase& c : verificationCases())
        if (c.modelDifference.empty()) cases.push_back(c);
    return cases;
}

class PublishedProblem : public ::testing::TestWithParam<VerificationCase> {};

TEST_P(PublishedProblem, BothMethodsStayWithinThePublishedTolerance) {
    const VerificationCase& problem = GetParam();
    const CaseResult& result = manual().of(problem.file).result;
    ASSERT_EQ(result.error, "");
    if (problem.ordinary) {
        EXPECT_TRUE(withinTolerance(*problem.ordinary, result.critical.fs))
            << "ordinary " << result.critical.fs << ", published " << problem.ordinary->value;
    }
    if (problem.bishop) {
        ASSERT_TRUE(result.bishop.has_value());
        EXPECT_TRUE(withinTolerance(*problem.bishop, *result.bishop))
            << "Bishop " << *result.bishop << ", published " << problem.bishop->value;
    }
}

INSTANTIATE_TEST_SUITE_P(Manual, PublishedProblem, ::testing::ValuesIn(rebuiltExactly()),
                         testNameOf);

TEST(VerificationManual, SteepTaylorSlopesCutAtTheCentreStayAbovePublishedToeCircle) {
    // The explanation the manual gives for the two steep slopes: searched with centres above
    // the crest only, Dorvo's minimum lies above Taylor's critical circle, which rises above
    // its centre.
    for (const char* file : {"taylor-phi0-75", "taylor-phi0-90"}) {
        const ComputedCase& c = manual().of(file);
        ASSERT_EQ(c.result.error, "");
        EXPECT_GT(c.result.critical.fs, c.problem->ordinary->value) << file;
        EXPECT_GE(c.result.critical.ry, 20.0) << file;
    }
}

TEST(VerificationManual, CommittedManualIsWhatTheProgramWrites) {
    ASSERT_TRUE(manual().fredlundKrahn.section.has_value());
    const std::string text = manualText(manual().cases, *manual().fredlundKrahn.section);
    const std::filesystem::path file = kDocs / "verification.md";
    if (std::getenv("DORVO_WRITE_VERIFICATION") != nullptr) {
        ASSERT_TRUE(writeFileAtomically(file, [&](std::ostream& out) {
            out << text;
            return static_cast<bool>(out);
        }));
        for (std::size_t i = 0; i < manual().cases.size(); ++i) {
            const ComputedCase& c = manual().cases[i];
            EXPECT_TRUE(writeFigure(*manual().projects[i], manual().folders[i]->path() / "Tmp1.tmp",
                                    kDocs / figureName(*c.problem)));
        }
    }
    EXPECT_EQ(test::readBytes(file), text)
        << "docs/verification.md is stale: rewrite it with DORVO_WRITE_VERIFICATION=1 "
           "build/tests/verification_tests";
    for (const ComputedCase& c : manual().cases)
        EXPECT_TRUE(std::filesystem::exists(kDocs / figureName(*c.problem))) << c.problem->file;
}

}  // namespace
}  // namespace dorvo::verification
