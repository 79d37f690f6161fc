#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib
{
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace nimbreltest
{

// One request as the server received it.
struct HttpRequest {
    std::string method;
    // As sent on the request line: "/iwin/il/zone.html", or through a proxy the absolute form
    // "http://127.0.0.1:40123/iwin/il/zone.html".
    std::string target;
    // Header names in lower case.
    std::map<std::string, std::string> headers;

    std::string header(const std::string &lowerName) const;
};

// An HTTP/1.1 server on 127.0.0.1 (a free port), running on its own threads for the lifetime of the object. It
// answers request targets with canned pages and records every request. Each connection serves one request.
class HttpServer
{
public:
    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer &) = delete;
    HttpServer &operator=(const HttpServer &) = delete;

    int port() const { return m_port; }
    // "http://127.0.0.1:40123"; url("/iwin/") appends the target.
    std::string address() const;
    std::string url(const std::string &target) const { return address() + target; }

    // Header names and values: {{"ETag", "\"a1\""}, {"Cache-Control", "max-age=30"}}.
    using Headers = std::vector<std::pair<std::string, std::string>>;

    // Answers the target with this body and status (Content-Type text/html), and the headers given. Targets
    // without a page get 404.
    void page(const std::string &target, const std::string &body, int status = 200, const Headers &headers = {});
    // Answers with the body and its ETag, or with 304 and no body to a request whose If-None-Match names the ETag;
    // the headers go with both.
    void revalidated(
        const std::string &target, const std::string &body, const std::string &etag, const Headers &headers = {});
    // Answers with a redirect to location.
    void redirect(const std::string &target, int status, const std::string &location);
    // Sends the body in chunks of 64 KB, without announcing its length.
    void chunked(const std::string &target, const std::string &body);
    // Announces the whole body's length but sends only its first `sent` bytes, then closes the connection.
    void truncated(const std::string &target, const std::string &body, std::size_t sent);
    // Sends the status line, the headers and firstPart, then nothing more until the server is destroyed.
    void stalled(const std::string &target, const std::string &firstPart);
    // Announces the whole body's length, then sends it one byte every interval until it is sent or the server is
    // destroyed.
    void trickled(const std::string &target, const std::string &body, std::chrono::milliseconds interval);

    std::vector<HttpRequest> requests() const;

private:
    using Answer = std::function<void(const httplib::Request &, httplib::Response &)>;

    void answer(const httplib::Request &request, httplib::Response &response);
    void setAnswer(const std::string &target, Answer answer);
    void waitForStop();
    // True when the server is being destroyed; otherwise returns after the time.
    bool stopWithin(std::chrono::milliseconds time);

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stopping = false;
    std::map<std::string, Answer> m_answers;
    std::vector<HttpRequest> m_requests;
};

// Removes the proxy variables (http_proxy, https_proxy, all_proxy, no_proxy, in both cases) from the environment,
// so that requests to the test servers go straight to them.
void clearProxyEnvironment();

} // namespace nimbreltest
