// The synthesiser's sources: bad effect files and scores are refused with a line number and
// never crash the tool, and a rendered tune's loop really is one period of the music.

#ifdef VG_SYNTH_TOOL

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tools/synth/Effect.h"
#include "tools/synth/Patch.h"
#include "tools/synth/Score.h"

namespace {

using namespace vg::synth;

TEST(SynthSources, NoteNamesAndComments) {
    EXPECT_EQ(parseNoteName("C4"), 60);
    EXPECT_EQ(parseNoteName("A4"), 69);
    EXPECT_EQ(parseNoteName("F#3"), 54);
    EXPECT_EQ(parseNoteName("Bb2"), 46);
    EXPECT_EQ(parseNoteName("C-1"), 0);
    EXPECT_FALSE(parseNoteName("H4"));
    EXPECT_FALSE(parseNoteName("C"));
    EXPECT_FALSE(parseNoteName("C44"));
    // A '#' starts a comment only as a word of its own: sharps stay notes.
    auto words = splitWords("lead F#4 . # comment F#5");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1], "F#4");
}

TEST(SynthSources, BadEffectsAreRefusedWithTheirLine) {
    const char* bad[] = {
        "",                       // no layer
        "rate=8000\nlayer\n",     // unsupported rate
        "layer\n  wave=banjo\n",  // unknown wave
        "layer\n  frob=1\n",      // unknown key
        "layer\n  cutoff=-5\n",   // out of range
        "layer\n  volume=nan\n",  // not a number
        "layer length=0\n",       // empty gate
        "layer\n  volume=0\n",    // silent
        "peak=0\nlayer\n",        // a peak at full scale is refused
        "layer\n  arp=0,,7\n",    // broken list
        "echo=0.1:0.3\nlayer\n",  // echo needs three values
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EffectSound sound;
        std::string error;
        EXPECT_FALSE(renderEffect(text, sound, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(sound.samples.empty());
    }
    EffectSound sound;
    std::string error;
    EXPECT_FALSE(renderEffect("layer\n  wave=square\n  oops\n", sound, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

TEST(SynthSources, AnEffectIsScaledToItsPeakAndEndsSilent) {
    EffectSound sound;
    std::string error;
    ASSERT_TRUE(
        renderEffect("rate=22050 peak=-6\nlayer length=0.05\n  wave=saw freq=A4 decay=0.1 "
                     "sustain=0 release=0.02\n",
                     sound, error))
        << error;
    EXPECT_EQ(sound.sampleRate, 22050);
    Levels l = measure(sound.samples);
    EXPECT_NEAR(toDb(l.peak), -6.0f, 0.01f);
    EXPECT_LT(std::fabs(sound.samples.back()), 1e-3f);
}

const char* kSmallScore = R"(
tempo 100
steps 2
reverb size=0.85 damp=0.2 level=0.5
echo steps=3 feedback=0.3 level=0.5
instrument bass wave=saw filter=lp cutoff=900 decay=0.2 sustain=0.5 release=0.3 reverb=0.6 echo=0.5
instrument hat wave=noise freq=40000 filter=hp cutoff=7000 decay=0.05 sustain=0 volume=0.4
pattern I 1
  bass E2 . . . B2 . . .
pattern A 2
  bass E2 . G2 . A2 . B2 . | C3 . . . B2 . - .
  hat  x o
intro I
loop A
)";

TEST(SynthSources, BadScoresAreRefusedWithTheirLine) {
    const char* bad[] = {
        "instrument a wave=square\npattern P 1\n  a C4\n",                        // no loop
        "instrument a wave=square\npattern P 1\n  a C4\nloop Q\n",                // unknown pattern
        "instrument a wave=square\npattern P 1\n  b C4\nloop P\n",                // unknown track
        "instrument a wave=square\npattern P 1\n  a H4\nloop P\n",                // bad note
        "instrument a wave=square\npattern P 1\n  a @Cxyz\nloop P\n",             // bad chord
        "steps 2\ninstrument a\npattern P 1\n  a C4 . . . . . . . C4\nloop P\n",  // too long
        "instrument a\ninstrument a\n",                                           // name used twice
        "instrument loop\n",                               // a keyword as name
        "tempo 0\n",                                       // tempo out of range
        "instrument a\npattern P 1\n  a C4\nloop P+99\n",  // transposition
        "instrument a\npattern P 0\n",                     // empty pattern
        "instrument a\npattern P 1\n  a -\nloop P\n",      // silent
        "C4 D4\n",                                         // steps outside a pattern
        "instrument a\npattern P 1\n  a C4\npattern Q 2 like P\nloop Q\n",         // bars differ
        "tempo 30\nmeter 16\ninstrument a\npattern P 64\n  a C4\nloop P P P P\n",  // hours long
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        TuneAudio tune;
        std::string error;
        EXPECT_FALSE(renderTune(text, tune, error));
        EXPECT_FALSE(error.empty());
    }
    TuneAudio tune;
    std::string error;
    EXPECT_FALSE(renderTune("tempo 120\ninstrument a\n  wave=square nonsense=1\n", tune, error));
    EXPECT_NE(error.find("line 3"), std::string::npos) << error;
}

// A variation keeps the tracks it does not name and replaces, not extends, those it does.
TEST(SynthSources, AVariationReplacesOnlyTheTracksItNames) {
    const std::string head =
        "tempo 120\nsteps 2\ninstrument a wave=square\ninstrument b wave=noise freq=9000 "
        "decay=0.05 sustain=0\npattern P 2\n  a C4 . E4 . G4 . E4 .\n  b x . x .\n";
    TuneAudio varied, plain;
    std::string error;
    ASSERT_TRUE(
        renderTune(head + "pattern Q 2 like P\n  a D4 . F4 . A4 . F4 .\nloop Q\n", varied, error))
        << error;
    ASSERT_TRUE(renderTune(head + "pattern R 2\n  a D4 . F4 . A4 . F4 .\n  b x . x .\nloop R\n",
                           plain, error))
        << error;
    ASSERT_EQ(varied.samples.size(), plain.samples.size());
    EXPECT_TRUE(varied.samples.left == plain.samples.left);
}

// With the loop played twice, the second period must repeat the first: the loop point lies
// where echo and reverb tails are already what they are on every later pass.
TEST(SynthSources, TheLoopIsOnePeriodOfTheMusic) {
    std::string once = kSmallScore;
    std::string twice = once;
    twice.replace(twice.find("loop A"), 6, "loop A A");
    TuneAudio a, b;
    std::string error;
    ASSERT_TRUE(renderTune(once, a, error)) << error;
    ASSERT_TRUE(renderTune(twice, b, error)) << error;
    const size_t period = a.samples.size() - static_cast<size_t>(a.loopStart);
    ASSERT_EQ(b.samples.size() - static_cast<size_t>(b.loopStart), 2 * period);
    ASSERT_EQ(a.loopStart, b.loopStart);
    const size_t start = static_cast<size_t>(b.loopStart);
    float worst = 0;
    for (size_t i = 0; i < period; ++i) {
        worst = std::max(worst,
                         std::fabs(b.samples.left[start + i] - b.samples.left[start + period + i]));
        worst = std::max(
            worst, std::fabs(b.samples.right[start + i] - b.samples.right[start + period + i]));
    }
    EXPECT_LT(worst, 1e-3f);
    // The loop of the single render joins end to start like any two neighbouring samples.
    const float jump = std::fabs(a.samples.left.back() - a.samples.left[start]);
    EXPECT_LT(jump, 0.05f);
    EXPECT_LE(measure(a.samples).peak, 0.81f);
}

}  // namespace

#endif
