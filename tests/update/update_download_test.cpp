// The package download against a local server and a local proxy.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/run_control.h"
#include "support/temp_dir.h"
#include "update/http_test_server.h"
#include "update/update_download.h"

namespace twinex::update {
namespace {

constexpr char kPackage[] = "/pkg/Twinex_Update_4.6.0.deb";

struct DownloadFixture : ::testing::Test {
  twinex::testing::TestHttpServer server;
  test::TempDir dir;
  std::string body = std::string(200 * 1024, 'p');

  void Publish(const std::string& content, const std::string& sum, int chunkDelayMs = 0) {
    server.Set(kPackage, {200, content, chunkDelayMs});
    server.Set(std::string(kPackage) + ".sha256", {200, sum + "  Twinex_Update_4.6.0.deb\n"});
  }
  std::string SumOf(const std::string& content) { return FileSha256(dir.Write("sum-source", content)); }
  DownloadRequest Request() {
    DownloadRequest r;
    r.version = {4, 6, 0};
    r.folder = dir.path();
    r.serverFolder = server.Url("/pkg");
    return r;
  }
  std::string Target() { return dir / "Twinex_Update_4.6.0.deb"; }
  bool PackageRequested() {
    for (const std::string& head : server.Requests())
      if (head.rfind(std::string("GET ") + kPackage + " ", 0) == 0) return true;
    return false;
  }
};

TEST_F(DownloadFixture, VerifiedPackageTakesItsNameWithProgress) {
  Publish(body, SumOf(body));
  DownloadRequest r = Request();
  std::uint64_t lastReceived = 0, lastTotal = 0;
  r.progress = [&](std::uint64_t received, std::uint64_t total) {
    lastReceived = received;
    lastTotal = total;
  };
  const DownloadOutcome out = DownloadUpdate(r);
  ASSERT_EQ(out.result, DownloadResult::Done) << out.Message();
  EXPECT_EQ(out.file, Target());
  EXPECT_EQ(FileSha256(Target()), SumOf(body));
  EXPECT_FALSE(platform::ExistFile(Target() + ".part"));
  EXPECT_EQ(lastReceived, body.size());
  EXPECT_EQ(lastTotal, body.size());
  EXPECT_EQ(out.Message(), "Download beendet: " + Target());
}

TEST_F(DownloadFixture, ChecksumMismatchDeletesThePackage) {
  Publish(body, SumOf("another package"));
  const DownloadOutcome out = DownloadUpdate(Request());
  EXPECT_EQ(out.result, DownloadResult::ChecksumMismatch);
  EXPECT_FALSE(platform::ExistFile(Target()));
  EXPECT_FALSE(platform::ExistFile(Target() + ".part"));
}

TEST_F(DownloadFixture, MissingOrMalformedChecksumFetchesNoPackage) {
  server.Set(kPackage, {200, body});
  DownloadOutcome out = DownloadUpdate(Request());  // no ".sha256" beside it: 404
  EXPECT_EQ(out.result, DownloadResult::Failed);
  EXPECT_EQ(out.error, "HttpQueryStatusCode: 404");
  EXPECT_EQ(out.Message(), "ERROR: HttpQueryStatusCode: 404\nDer Download konnte nicht durchgeführt werden.");
  server.Set(std::string(kPackage) + ".sha256", {200, "not a checksum"});
  out = DownloadUpdate(Request());
  EXPECT_EQ(out.result, DownloadResult::Failed);
  EXPECT_FALSE(PackageRequested());
  EXPECT_FALSE(platform::ExistFile(Target()));
}

TEST_F(DownloadFixture, ExistingFileIsNeitherFetchedNorOverwritten) {
  Publish(body, SumOf(body));
  dir.Write("Twinex_Update_4.6.0.deb", "the user's own file");
  const DownloadOutcome out = DownloadUpdate(Request());
  EXPECT_EQ(out.result, DownloadResult::Exists);
  EXPECT_EQ(out.Message(), "Die Downloaddatei '" + Target() + "' ist schon vorhanden!");
  EXPECT_TRUE(server.Requests().empty());
  std::string content;
  ASSERT_TRUE(platform::ReadWholeFile(Target(), content));
  EXPECT_EQ(content, "the user's own file");
}

TEST_F(DownloadFixture, EmptyPackageFails) {
  Publish("", SumOf(""));
  const DownloadOutcome out = DownloadUpdate(Request());
  EXPECT_EQ(out.error, "Filesize Zero");
  EXPECT_FALSE(platform::ExistFile(Target()));
}

TEST_F(DownloadFixture, CancelOnASlowServerLeavesNothing) {
  Publish(body, SumOf(body), 50);  // 200 pieces, 10 s in all
  RunControl control;
  DownloadRequest r = Request();
  r.control = &control;
  r.progress = [&](std::uint64_t received, std::uint64_t) {
    if (received >= 4096) control.RequestStop();
  };
  const auto start = std::chrono::steady_clock::now();
  const DownloadOutcome out = DownloadUpdate(r);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(out.result, DownloadResult::Cancelled);
  EXPECT_EQ(out.Message(), "Download vom Anwender abgebrochen.");
  EXPECT_FALSE(platform::ExistFile(Target()));
  EXPECT_FALSE(platform::ExistFile(Target() + ".part"));
}

TEST_F(DownloadFixture, ThroughAProxyWithUserAndPassword) {
  Publish(body, SumOf(body));
  // "anna:s3cret" in Base64.
  twinex::testing::TestHttpProxy proxy("Basic YW5uYTpzM2NyZXQ=");
  DownloadRequest r = Request();
  r.proxy = {true, "127.0.0.1", std::to_string(proxy.port()), "anna", "s3cret"};
  const DownloadOutcome out = DownloadUpdate(r);
  ASSERT_EQ(out.result, DownloadResult::Done) << out.Message();
  ASSERT_EQ(proxy.Requests().size(), 2u);
  EXPECT_EQ(proxy.Requests()[1].rfind("GET " + server.Url(kPackage) + " ", 0), 0u);

  ::unlink(Target().c_str());
  r.proxy.password = "wrong";
  EXPECT_EQ(DownloadUpdate(r).error, "HttpQueryStatusCode: 407");
}

TEST(UpdateDownload, PublishedChecksumFormat) {
  const std::string sum(64, 'A');
  EXPECT_EQ(PublishedSha256(sum + "  file.deb\n"), std::string(64, 'a'));
  EXPECT_EQ(PublishedSha256(" " + sum), std::string(64, 'a'));
  EXPECT_EQ(PublishedSha256(sum.substr(1)), "");
  EXPECT_EQ(PublishedSha256(std::string(64, 'g')), "");
  EXPECT_EQ(PackageFileName({4, 6, 0}, true), "Twinex_Portable_4.6.0.tar.gz");
}

}  // namespace
}  // namespace twinex::update
