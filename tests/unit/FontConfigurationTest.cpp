#include "platform/forms/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <string>

namespace {

// The best face for `name` under `config`, with every property the configuration's rules set
// on it (hinting, antialiasing, the family it stands in for).
std::string Matched(FcConfig* config, const char* name) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::string text = "none";
    if (match != nullptr) {
        FcChar8* unparsed = FcNameUnparse(match);
        text = reinterpret_cast<const char*>(unparsed);
        FcStrFree(unparsed);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return text;
}

} // namespace

// The program reads the font configuration itself, leaving out the files the system offers but
// has not enabled: faces must come out exactly as fontconfig's own reading gives them.
TEST(FontConfiguration, ReadsWhatFontconfigReadsLessTheFilesOnOffer) {
    StartReadingFontConfiguration().get();
    FcConfig* ours = FcConfigGetCurrent();
    FcConfig* own = FcInitLoadConfigAndFonts();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(FcConfigGetFonts(ours, FcSetSystem)->nfont,
              FcConfigGetFonts(own, FcSetSystem)->nfont);
    for (const char* name : {"sans-serif", "serif", "monospace", "Liberation Sans:bold",
                             "MS Sans Serif", "Arial:italic", "Impact", "Courier New:size=9"})
        EXPECT_EQ(Matched(ours, name), Matched(own, name)) << name;

    // Files on offer are listed as not enabled; ours lists only what it read.
    FcConfigFileInfoIter files;
    FcConfigFileInfoIterInit(ours, &files);
    int listed = 0;
    do {
        FcChar8* file = nullptr;
        FcChar8* description = nullptr;
        FcBool enabled = FcFalse;
        if (FcConfigFileInfoIterGet(ours, &files, &file, &description, &enabled)) {
            ++listed;
            EXPECT_TRUE(enabled) << file;
            FcStrFree(file);
            FcStrFree(description);
        }
    } while (FcConfigFileInfoIterNext(ours, &files));
    EXPECT_GT(listed, 0);
    FcConfigDestroy(own);
}
