#pragma once
// A small HTTP server and a forwarding proxy on the loopback interface, for the update tests:
// no test reaches the Internet.
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twinex::testing {

class TestHttpServer {
 public:
  struct Route {
    int status = 200;
    std::string body;
    int chunkDelayMs = 0;  // > 0: the body is sent in 1 KB pieces with a pause between them
  };

  TestHttpServer();
  virtual ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  void Set(const std::string& path, Route route);
  int port() const { return port_; }
  std::string Url(const std::string& path) const;
  // The request lines and headers received so far, one request per entry.
  std::vector<std::string> Requests() const;

 protected:
  virtual void Serve(int fd, const std::string& head);
  void Record(const std::string& head);
  bool stopping() const { return stop_; }

 private:
  void AcceptLoop();

  int listen_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex lock_;
  std::map<std::string, Route> routes_;
  std::vector<std::string> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// Forwards "GET http://host:port/path" requests to their server; answers 407 without the
// expected Proxy-Authorization header when one is required.
class TestHttpProxy : public TestHttpServer {
 public:
  explicit TestHttpProxy(std::string requiredAuthorization = "") : required_(std::move(requiredAuthorization)) {}
  ~TestHttpProxy() override;

 protected:
  void Serve(int fd, const std::string& head) override;

 private:
  std::string required_;
};

// Sends all bytes; false when the peer went away.
bool SendAll(int fd, const std::string& bytes);

}  // namespace twinex::testing
