#include "update/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>

#include <chrono>
#include <sstream>

namespace twinex::testing {
namespace {

std::string ReadHead(int fd) {
  std::string head;
  char c;
  while (head.size() < 65536 && head.find("\r\n\r\n") == std::string::npos) {
    if (::recv(fd, &c, 1, 0) != 1) break;
    head += c;
  }
  return head;
}

std::string Header(const std::string& head, const std::string& name) {
  std::istringstream in(head);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > name.size() + 1 && strncasecmp(line.c_str(), name.c_str(), name.size()) == 0 &&
        line[name.size()] == ':') {
      std::string value = line.substr(name.size() + 1);
      while (!value.empty() && (value.front() == ' ')) value.erase(0, 1);
      while (!value.empty() && (value.back() == '\r' || value.back() == ' ')) value.pop_back();
      return value;
    }
  }
  return "";
}

void Reply(int fd, int status, const std::string& body, const std::string& extra = "") {
  SendAll(fd, "HTTP/1.1 " + std::to_string(status) + " X\r\nContent-Length: " + std::to_string(body.size()) +
                  "\r\nConnection: close\r\n" + extra + "\r\n" + body);
}

}  // namespace

bool SendAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

TestHttpServer::TestHttpServer() {
  listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(listen_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listen_, 16);
  socklen_t length = sizeof address;
  ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& t : workers_) t.join();
  ::close(listen_);
}

TestHttpProxy::~TestHttpProxy() = default;

void TestHttpServer::Set(const std::string& path, Route route) {
  std::lock_guard<std::mutex> guard(lock_);
  routes_[path] = std::move(route);
}

std::string TestHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> TestHttpServer::Requests() const {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

void TestHttpServer::Record(const std::string& head) {
  std::lock_guard<std::mutex> guard(lock_);
  requests_.push_back(head);
}

void TestHttpServer::AcceptLoop() {
  while (!stop_) {
    pollfd p{listen_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    workers_.emplace_back([this, fd] {
      const std::string head = ReadHead(fd);
      Record(head);
      Serve(fd, head);
      ::close(fd);
    });
  }
}

void TestHttpServer::Serve(int fd, const std::string& head) {
  std::istringstream first(head);
  std::string method, path;
  first >> method >> path;
  Route route;
  {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = routes_.find(path);
    if (it == routes_.end()) {
      route.status = 404;
      route.body = "not found";
    } else {
      route = it->second;
    }
  }
  if (route.chunkDelayMs <= 0) {
    Reply(fd, route.status, route.body);
    return;
  }
  if (!SendAll(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(route.body.size()) +
                       "\r\nConnection: close\r\n\r\n"))
    return;
  for (std::size_t at = 0; at < route.body.size() && !stopping(); at += 1024) {
    if (!SendAll(fd, route.body.substr(at, 1024))) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(route.chunkDelayMs));
  }
}

void TestHttpProxy::Serve(int fd, const std::string& head) {
  if (!required_.empty() && Header(head, "Proxy-Authorization") != required_) {
    Reply(fd, 407, "proxy authentication required", "Proxy-Authenticate: Basic realm=\"test\"\r\n");
    return;
  }
  std::istringstream first(head);
  std::string method, url;
  first >> method >> url;
  const std::string scheme = "http://";
  if (url.rfind(scheme, 0) != 0) {
    Reply(fd, 400, "absolute address expected");
    return;
  }
  const std::size_t slash = url.find('/', scheme.size());
  const std::string hostPort = url.substr(scheme.size(), slash - scheme.size());
  const std::string path = slash == std::string::npos ? "/" : url.substr(slash);
  const std::size_t colon = hostPort.find(':');
  const int port = colon == std::string::npos ? 80 : std::stoi(hostPort.substr(colon + 1));

  const int up = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // the tests only forward to the loopback
  if (::connect(up, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(up);
    Reply(fd, 502, "bad gateway");
    return;
  }
  SendAll(up, method + " " + path + " HTTP/1.1\r\nHost: " + hostPort + "\r\nConnection: close\r\n\r\n");
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::recv(up, buffer, sizeof buffer, 0);
    if (n <= 0 || !SendAll(fd, std::string(buffer, static_cast<std::size_t>(n)))) break;
  }
  ::close(up);
}

}  // namespace twinex::testing
