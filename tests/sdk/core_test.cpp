#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

#include "sdk/core/exception.h"
#include "sdk/core/file_system.h"
#include "sdk/core/log.h"
#include "sdk/core/number_convert.h"
#include "sdk/core/resource_document.h"
#include "sdk/core/string_help.h"
#include "tests/common/refusal.h"

namespace {

TEST(String_Help, NumbersAreReadLeniently) {
    struct Case { const char* text; int i; float f; };
    const Case cases[] = {
        {"12", 12, 12.0f}, {"  -7", -7, -7.0f}, {"3.75", 3, 3.75f},
        {"", 0, 0.0f},     {"abc", 0, 0.0f},    {"5px", 5, 5.0f},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sdk::text_to_int(c.text), c.i) << c.text;
        EXPECT_FLOAT_EQ(sdk::text_to_float(c.text), c.f) << c.text;
    }
}

TEST(String_Help, FormatReplacesNumberedPlaceholders) {
    EXPECT_EQ(sdk::string_format("Load %1 size = %2", "a.ogg", 42), "Load a.ogg size = 42");
    EXPECT_EQ(sdk::string_format("%2-%1-%3", 1, 2), "2-1-%3");
    EXPECT_EQ(sdk::split_text("1, 2,,3", ", "), (std::vector<std::string>{"1", "2", "3"}));
}

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_value = std::numeric_limits<double>::infinity();

TEST(Number_Convert, IntegersOutsideTheTargetTypeAreRefusedNamingPlaceKeyAndValue) {
    struct Case {
        double value;
        const char* message;
    };
    const Case cases[] = {
        {6.66667e37,
         "bg.xml: background 'a': 'number' is 6.66667e+37, not a number from 0 to 4294967295"},
        {nan_value, "bg.xml: background 'a': 'number' is nan, not a number from 0 to 4294967295"},
        {inf_value, "bg.xml: background 'a': 'number' is inf, not a number from 0 to 4294967295"},
        {-inf_value, "bg.xml: background 'a': 'number' is -inf, not a number from 0 to 4294967295"},
        {4294967296.0,
         "bg.xml: background 'a': 'number' is 4.29497e+09, not a number from 0 to 4294967295"},
        {-1.0, "bg.xml: background 'a': 'number' is -1, not a number from 0 to 4294967295"},
        {4294967295.9, ""},
        {-0.9, ""},
        {0.0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusal([&] {
                      sdk::checked_integer<uint32_t>(c.value, "bg.xml: background 'a'", "number");
                  }),
                  c.message)
            << c.value;
    EXPECT_EQ(sdk::checked_integer<uint32_t>(4294967295.9, "", ""), 4294967295u);
    EXPECT_EQ(sdk::checked_integer<int32_t>(-2147483648.5, "", ""), INT32_MIN);
    EXPECT_EQ(sdk::checked_integer<int32_t>(-7.9, "", ""), -7);
    EXPECT_EQ(refusal([] { sdk::checked_integer<int32_t>(1e30 * 1e6, "p", "accel"); }),
              "p: 'accel' is 1e+36, not a number from -2147483648 to 2147483647");
    EXPECT_EQ(refusal([] { sdk::checked_integer<uint8_t>(256.0, "p", "drop"); }),
              "p: 'drop' is 256, not a number from 0 to 255");
    EXPECT_EQ(
        refusal([] { sdk::checked_integer<int64_t>(9223372036854775808.0, "p", "k"); }),
        "p: 'k' is 9.22337e+18, not a number from -9223372036854775808 to 9223372036854775807");
}

TEST(Number_Convert, CountsStayBetweenZeroAndTheirCeiling) {
    struct Case {
        double value;
        const char* message;
    };
    const Case cases[] = {
        {10001.0, "f: 'number' is 10001, not a count from 0 to the ceiling 10000"},
        {6.66667e37, "f: 'number' is 6.66667e+37, not a count from 0 to the ceiling 10000"},
        {-1.0, "f: 'number' is -1, not a count from 0 to the ceiling 10000"},
        {nan_value, "f: 'number' is nan, not a count from 0 to the ceiling 10000"},
        {inf_value, "f: 'number' is inf, not a count from 0 to the ceiling 10000"},
        {10000.5, ""},
        {0.0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusal([&] { sdk::checked_count<size_t>(c.value, 10000, "f", "number"); }),
                  c.message)
            << c.value;
    EXPECT_EQ(sdk::checked_count<size_t>(10000.5, 10000, "f", "number"), 10000u);
}

TEST(Number_Convert, PerFrameConversionSaturatesInsteadOfOverflowing) {
    struct Case {
        double value;
        int32_t to_int;
        uint8_t to_byte;
    };
    const Case cases[] = {
        {nan_value, 0, 0},
        {inf_value, INT32_MAX, 255},
        {-inf_value, INT32_MIN, 0},
        {1e30, INT32_MAX, 255},
        {-1e30, INT32_MIN, 0},
        {2147483647.5, INT32_MAX, 255},
        {-2147483648.5, INT32_MIN, 0},
        {-3.7, -3, 0},
        {254.9, 254, 254},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sdk::saturate_integer<int32_t>(c.value), c.to_int) << c.value;
        EXPECT_EQ(sdk::saturate_integer<uint8_t>(c.value), c.to_byte) << c.value;
    }
    EXPECT_EQ(sdk::saturate_integer<int64_t>(1e19), INT64_MAX);
}

class Resource_Document_Test : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("mirel_core_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "docs");
        std::ofstream(dir / "docs" / "a.xml") << R"(<resources>
            <sprite name="one"><image file="one.png"/></sprite>
            <section name="stage"><section name="boss"><sprite name="ring"/></section>
              <level name="testlevel"/><sprite name="two"/></section>
            <sample name="shot" volume="0.5"/>
          </resources>)";
        std::ofstream(dir / "broken.xml") << "<resources><sprite name='x'></resources>";
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(Resource_Document_Test, FindsResourcesBySectionPathAndType) {
    sdk::File_System fs(dir.string());
    sdk::Resource_Document doc(fs, "docs/a.xml");
    EXPECT_EQ(doc.get_resource_names_of_type("sprite"),
              (std::vector<std::string>{"one", "stage/boss/ring", "stage/two"}));
    EXPECT_TRUE(doc.resource_exists("stage/testlevel"));
    EXPECT_EQ(doc.get_resource("shot").element.get_attribute_float("volume"), 0.5f);
    EXPECT_EQ(doc.resolve_path("one.png"), "docs/one.png");
    EXPECT_THROW(doc.get_resource("nothing"), sdk::Exception);
}

TEST_F(Resource_Document_Test, ErrorsNameTheFile) {
    sdk::File_System fs(dir.string());
    try {
        sdk::Resource_Document doc(fs, "broken.xml");
        FAIL() << "a broken document must not load";
    } catch (const sdk::Exception& e) {
        EXPECT_NE(std::string(e.what()).find("broken.xml"), std::string::npos) << e.what();
    }
    EXPECT_THROW(sdk::Resource_Document(fs, "missing.xml"), sdk::Exception);
    EXPECT_THROW(sdk::File_System((dir / "no_such.zip").string()), sdk::Exception);
}

TEST_F(Resource_Document_Test, FilesReadWholeAndSeek) {
    sdk::File_System fs(dir.string());
    auto f = fs.open_file("./docs/a.xml", sdk::Entry_Kind::document);
    int64_t size = f->get_size();
    ASSERT_GT(size, 10);
    EXPECT_TRUE(f->seek(-5, sdk::Seek_Mode::end));
    EXPECT_EQ(f->get_position(), size - 5);
    EXPECT_FALSE(f->seek(1, sdk::Seek_Mode::end));
    EXPECT_THROW(fs.open_file("nope.txt", sdk::Entry_Kind::document), sdk::Exception);
}

// Start-up, a test fixture and the music thread may each open the same archive: every one of
// them must read it, whichever is opened or closed first.
TEST_F(Resource_Document_Test, TwoFileSystemsOverOnePathBothReadWhicheverCloses) {
    auto first = std::make_unique<sdk::File_System>(dir.string());
    sdk::File_System second(dir.string());
    EXPECT_TRUE(first->has_file("docs/a.xml"));
    EXPECT_TRUE(second.has_file("docs/a.xml"));
    first.reset();
    EXPECT_TRUE(second.has_file("docs/a.xml"));
    EXPECT_GT(second.read_file("docs/a.xml", sdk::Entry_Kind::document).size(), 10u);
    sdk::File_System third(dir.string());
    EXPECT_TRUE(third.has_file("docs/a.xml"));
}

}  // namespace
