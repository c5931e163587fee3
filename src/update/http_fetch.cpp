#include "update/http_fetch.h"

// The option calls go through a table of the library's functions, which the header's
// type-checking macro for them would get in the way of.
#define CURL_DISABLE_TYPECHECK
#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include "platform/run_control.h"
#include "platform/shared_library.h"
#include "platform/unique_fd.h"

namespace twinex::update {
namespace {

struct Transfer {
  const FetchRequest* request = nullptr;
  int fd = -1;
  std::string* text = nullptr;
  std::uint64_t received = 0;
  std::string writeError;
};

std::size_t OnData(char* data, std::size_t size, std::size_t count, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  if (t.text) {
    if (t.text->size() + bytes > t.request->maxTextBytes) {
      t.writeError = "the answer is too large";
      return 0;
    }
    t.text->append(data, bytes);
  } else {
    std::size_t done = 0;
    while (done < bytes) {
      const ssize_t n = ::write(t.fd, data + done, bytes - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        t.writeError = std::strerror(errno);
        return 0;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  t.received += bytes;
  return bytes;
}

int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  const Transfer& t = *static_cast<Transfer*>(user);
  if (t.request->control && t.request->control->StopRequested()) return 1;
  if (t.request->progress)
    t.request->progress(static_cast<std::uint64_t>(now < 0 ? 0 : now), static_cast<std::uint64_t>(total < 0 ? 0 : total));
  return 0;
}

// The step of the transfer a libcurl error belongs to, named as the program's messages name it.
const char* FailedStep(CURLcode code) {
  struct Entry {
    CURLcode code;
    const char* step;
  };
  static constexpr Entry kSteps[] = {
      {CURLE_FAILED_INIT, "InternetOpen"},          {CURLE_OUT_OF_MEMORY, "InternetOpen"},
      {CURLE_UNSUPPORTED_PROTOCOL, "InternetConnect"}, {CURLE_URL_MALFORMAT, "InternetConnect"},
      {CURLE_COULDNT_RESOLVE_PROXY, "InternetConnect"}, {CURLE_COULDNT_RESOLVE_HOST, "InternetConnect"},
      {CURLE_COULDNT_CONNECT, "InternetConnect"},   {CURLE_SSL_CONNECT_ERROR, "InternetConnect"},
      {CURLE_PEER_FAILED_VERIFICATION, "InternetConnect"}, {CURLE_SSL_CACERT_BADFILE, "InternetConnect"},
      {CURLE_TOO_MANY_REDIRECTS, "HttpOpenRequest"}, {CURLE_SEND_ERROR, "HttpSendRequest"},
      {CURLE_WRITE_ERROR, "WriteFile"},
  };
  for (const Entry& e : kSteps)
    if (e.code == code) return e.step;
  return "InternetReadFile";
}

#define TWINEX_CURL_FUNCTIONS(X)                                                                           \
  X(curl_global_init) X(curl_easy_init) X(curl_easy_cleanup) X(curl_easy_setopt) X(curl_easy_perform)     \
  X(curl_easy_getinfo) X(curl_easy_strerror)

struct CurlLibrary {
  TWINEX_CURL_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

// Set by GlobalInit for the rest of the file; no transfer starts without it.
const CurlLibrary* cl = nullptr;

// The library, opened and initialised on the first transfer; "" or why it cannot be used.
std::string GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] {
    cl = TWINEX_LOAD_LIBRARY(CurlLibrary, TWINEX_CURL_SONAME, TWINEX_CURL_FUNCTIONS);
    if (cl) cl->curl_global_init(CURL_GLOBAL_DEFAULT);
  });
  return cl ? std::string() : platform::LibraryError(TWINEX_CURL_SONAME) + " (InternetOpen)";
}

struct EasyDeleter {
  void operator()(CURL* c) const { cl->curl_easy_cleanup(c); }
};

void SetProxy(CURL* curl, const ProxySettings& proxy) {
  if (!proxy.use || proxy.host.empty()) {
    // The settings decide, not the environment's proxy variables.
    cl->curl_easy_setopt(curl, CURLOPT_PROXY, "");
    return;
  }
  cl->curl_easy_setopt(curl, CURLOPT_PROXY, proxy.host.c_str());
  long port = 0;
  for (char c : proxy.port) {
    if (c < '0' || c > '9' || port > 65535) break;
    port = port * 10 + (c - '0');
  }
  if (port > 0 && port <= 65535) cl->curl_easy_setopt(curl, CURLOPT_PROXYPORT, port);
  if (!proxy.user.empty()) {
    cl->curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxy.user.c_str());
    cl->curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxy.password.c_str());
  }
}

}  // namespace

FetchResult DownloadFileToDiskOrString(const FetchRequest& request) {
  FetchResult result;
  if (std::string missing = GlobalInit(); !missing.empty()) {
    result.error = std::move(missing);
    return result;
  }
  std::unique_ptr<CURL, EasyDeleter> curl(cl->curl_easy_init());
  if (!curl) {
    result.error = "curl_easy_init (InternetOpen)";
    return result;
  }
  Transfer t;
  t.request = &request;
  platform::UniqueFd fd;
  if (request.targetFile.empty()) {
    t.text = &result.text;
  } else {
    fd.Reset(::open(request.targetFile.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!fd) {
      result.error = std::string(std::strerror(errno)) + " (CreateFile)";
      return result;
    }
    t.fd = fd.get();
  }

  char errorBuffer[CURL_ERROR_SIZE] = {};
  CURL* c = curl.get();
  cl->curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
  cl->curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  cl->curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
  cl->curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  cl->curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  cl->curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
  cl->curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
  cl->curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  cl->curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
  cl->curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
  cl->curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  cl->curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, request.connectTimeoutSeconds);
  cl->curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  cl->curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, request.stallSeconds);
  if (!request.userAgent.empty()) cl->curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str());
  cl->curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnData);
  cl->curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  cl->curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
  cl->curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
  cl->curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  SetProxy(c, request.proxy);

  const CURLcode code = cl->curl_easy_perform(c);
  cl->curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
  curl_off_t total = -1;
  cl->curl_easy_getinfo(c, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &total);
  result.total = total > 0 ? static_cast<std::uint64_t>(total) : 0;
  result.received = t.received;

  if (code == CURLE_ABORTED_BY_CALLBACK) {
    result.cancelled = true;
    result.error = "Cancel";
  } else if (code == CURLE_HTTP_RETURNED_ERROR) {
    result.error = "HttpQueryStatusCode: " + std::to_string(result.status);
  } else if (code == CURLE_WRITE_ERROR && !t.writeError.empty()) {
    result.error = t.writeError + " (WriteFile)";
  } else if (code != CURLE_OK) {
    result.error = std::string(errorBuffer[0] ? errorBuffer : cl->curl_easy_strerror(code)) + " (" + FailedStep(code) + ")";
  }
  if (fd && fd.Close() != 0 && result.error.empty()) result.error = std::string(std::strerror(errno)) + " (WriteFile)";
  if (!result.error.empty()) {
    if (!request.targetFile.empty()) ::unlink(request.targetFile.c_str());
    result.text.clear();
  }
  return result;
}

}  // namespace twinex::update
