#include "similar/fingerprint_program.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "platform/run_control.h"
#include "support/temp_dir.h"

namespace twinex::similar {
namespace {

using namespace std::chrono_literals;
using test::TempDir;
using Kind = FingerprintAnswer::Kind;

TEST(FingerprintOutput, AnswersOfTheProgram) {
  struct Case {
    const char* output;
    int exit;
    Kind kind;
    std::vector<std::int32_t> print;
    const char* error;
  } cases[] = {
      {"1577493384,-257378258,0\n", 0, Kind::kMade, {1577493384, -257378258, 0}, ""},
      {" 5 , 6 ,", 0, Kind::kMade, {5, 6}, ""},
      // Unsigned output of the same bits.
      {"4294967295", 0, Kind::kMade, {-1}, ""},
      {"ERROR: Could not open the input file\n(Invalid argument)\n", 2, Kind::kFailed, {},
       "Could not open the input file (Invalid argument) (exit:2)"},
      {"ERROR: Error decoding audio frame (End of file)\nERROR: Empty fingerprint\n", 2, Kind::kEmpty, {},
       "Error decoding audio frame (End of file) ERROR: Empty fingerprint (exit:2)"},
      {"", 1, Kind::kFailed, {}, "Bei der Audioanalyse ist ein unerwarteter Fehler aufgetreten: exit:1"},
      {"12,abc,13", 0, Kind::kFailed, {}, "Es konnte keine Prüfsumme gefunden werden: 12,abc,13"},
      {",,", 0, Kind::kFailed, {}, "Es konnte keine Prüfsumme gefunden werden: ,,"},
      {"99999999999", 0, Kind::kFailed, {}, "Es konnte keine Prüfsumme gefunden werden: 99999999999"},
  };
  for (const Case& c : cases) {
    const FingerprintAnswer a = ParseFingerprintOutput(c.output, c.exit);
    EXPECT_EQ(a.kind, c.kind) << c.output;
    EXPECT_EQ(a.fingerprint, c.print) << c.output;
    EXPECT_EQ(a.error, c.error) << c.output;
  }
}

// A stand-in for the fingerprint program, written as a shell script into the temp folder.
struct FakeProgram {
  TempDir t;
  std::string path = t / "fake fpcalc";
  explicit FakeProgram(const std::string& body) {
    t.Write("fake fpcalc", "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
  }
};

TEST(FingerprintProgram, ThePathReachesTheProgramAsOneArgument) {
  // Answers with the number of arguments and the last one's length: 8 arguments, the path whole.
  FakeProgram fake("printf '%s,%s' \"$#\" \"${#8}\"; [ \"$1\" = -raw ] && [ \"$5\" = 4 ] && [ \"$7\" = 15 ] || echo 'ERROR: bad'");
  const std::string path = "-odd name; $(rm -rf x) `x`.mp3";
  RunControl run;
  const FingerprintAnswer a = MakeFingerprint(FingerprintArguments(fake.path, 4, 15, path), run);
  ASSERT_EQ(a.kind, Kind::kMade) << a.error;
  EXPECT_EQ(a.fingerprint, (std::vector<std::int32_t>{8, static_cast<std::int32_t>(path.size())}));
}

TEST(FingerprintProgram, ErrorsOnStandardErrorAreRead) {
  FakeProgram fake("echo 'ERROR: Empty fingerprint' >&2; exit 2");
  RunControl run;
  const FingerprintAnswer a = MakeFingerprint(FingerprintArguments(fake.path, 2, 30, "x.mp3"), run);
  EXPECT_EQ(a.kind, Kind::kEmpty);
  EXPECT_EQ(a.error, "Empty fingerprint (exit:2)");
}

TEST(FingerprintProgram, AHangingProgramIsEndedAtTheTimeLimit) {
  FakeProgram fake("exec sleep 30");
  RunControl run;
  const auto start = std::chrono::steady_clock::now();
  const FingerprintAnswer a = MakeFingerprint(FingerprintArguments(fake.path, 2, 30, "x.mp3"), run, 300ms);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  EXPECT_EQ(a.kind, Kind::kFailed);
  EXPECT_NE(a.error.find("nicht geantwortet"), std::string::npos) << a.error;
}

TEST(FingerprintProgram, PausedTimeDoesNotCountAndAStopEndsTheChild) {
  FakeProgram fake("sleep 1; echo 1,2,3");
  RunControl run;
  run.Pause();
  std::thread controller([&run] {
    std::this_thread::sleep_for(1500ms);
    run.Resume();
  });
  // Paused for longer than the limit: the child is held still and finishes after the resume.
  const FingerprintAnswer a = MakeFingerprint(FingerprintArguments(fake.path, 2, 30, "x.mp3"), run, 1300ms);
  controller.join();
  EXPECT_EQ(a.kind, Kind::kMade) << a.error;

  FakeProgram hang("exec sleep 30");
  std::thread stopper([&run] {
    std::this_thread::sleep_for(200ms);
    run.RequestStop();
  });
  const auto start = std::chrono::steady_clock::now();
  const FingerprintAnswer b = MakeFingerprint(FingerprintArguments(hang.path, 2, 30, "x.mp3"), run);
  stopper.join();
  EXPECT_EQ(b.kind, Kind::kGivenUp);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

}  // namespace
}  // namespace twinex::similar
