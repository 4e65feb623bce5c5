// The reader's random walk on the real form. After every action the form must
// be in step with its data; a failure prints the seed and the actions so that
// it replays.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "FormDriver.h"
#include "FormOracle.h"
#include "ModalScript.h"
#include "ReaderWalk.h"
#include "SoakResponder.h"

namespace {

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

}  // namespace

TEST(Soak, RandomWalkKeepsFormAndDataInStep) {
    const uint64_t seed = EnvNumber("PULMETRA_SOAK_SEED", 20261207);
    const uint64_t nActions = EnvNumber("PULMETRA_SOAK_ACTIONS", 3000);
    const int nRecordsOutsideForm = CNoduleItem::LiveCount();

    Responder responder;
    ModalScript script;
    script.Watch([&responder] { responder.Respond(); });
    std::vector<std::string> actions;
    uint64_t nReports = 0;
    {
        FormDriver form;
        ReaderWalk walk(form, responder, seed);
        for (uint64_t n = 0; n < nActions; ++n) {
            responder.report.clear();
            actions.push_back(walk.Step());
            auto violations = walk.TakeViolations();
            auto formViolations = CheckInvariants(form, nRecordsOutsideForm + walk.HeldNodules());
            violations.insert(violations.end(), formViolations.begin(), formViolations.end());
            if (!responder.report.empty()) {
                ++nReports;
                auto reportViolations = CheckReport(form, responder.report);
                violations.insert(violations.end(), reportViolations.begin(), reportViolations.end());
            }
            if (!violations.empty()) {
                std::ostringstream report;
                report << "seed " << seed << ", after action " << n + 1 << " of " << nActions << ":\n";
                for (const std::string& line : violations) report << "  " << line << "\n";
                report << "actions:\n";
                for (size_t i = 0; i < actions.size(); ++i) report << "  " << i + 1 << ". " << actions[i] << "\n";
                FAIL() << report.str();
            }
        }
    }
    EXPECT_EQ(CNoduleItem::LiveCount(), nRecordsOutsideForm) << "records left after the form was destroyed";
    std::printf("soak: seed %llu, %llu actions, %llu reports checked\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(nActions), static_cast<unsigned long long>(nReports));
}
