#include "app/options.h"

#include <gtest/gtest.h>

#include "sdk/core/exception.h"

namespace {

TEST(Tuning_Options, FirstOfANameWinsAbsentAndNonNumbersAreZero) {
    sdk::Resource_Document doc = sdk::Resource_Document::from_text(
        "<resources><options name=\"options\">"
        "<option name=\"bonus_accel\">0.25</option>"
        "<option name=\"bonus_accel\">9</option>"
        "<option name=\"bonus_point_score_max\">12000</option>"
        "<option name=\"dialog_starting_time\">soon</option>"
        "<option name=\"Bonus_max_speed\">3</option>"
        "</options></resources>",
        "mirel.xml");
    EXPECT_FLOAT_EQ(option_float(doc, "bonus_accel"), 0.25f);
    EXPECT_EQ(option_int(doc, "bonus_point_score_max"), 12000);
    EXPECT_EQ(option_float(doc, "dialog_starting_time"), 0.0f);
    EXPECT_EQ(option_float(doc, "bonus_max_speed"), 0.0f) << "names are case-sensitive";
    EXPECT_EQ(option_int(doc, "bonus_point_score_min"), 0);
}

TEST(Tuning_Options, MissingOptionsResourceStopsWithItsName) {
    sdk::Resource_Document doc = sdk::Resource_Document::from_text("<resources/>", "mirel.xml");
    try {
        option_float(doc, "bonus_accel");
        FAIL() << "expected an exception";
    } catch (const sdk::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("options"), std::string::npos) << e.what();
    }
}

}  // namespace
