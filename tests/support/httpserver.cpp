#include "tests/support/httpserver.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <stdexcept>

namespace nimbreltest
{

namespace
{

std::string lowerCase(std::string text)
{
    std::transform(
        text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

HttpRequest recordOf(const httplib::Request &request)
{
    HttpRequest record;
    record.method = request.method;
    record.target = request.target;
    for (const auto &[name, value] : request.headers)
        record.headers.emplace(lowerCase(name), value);
    return record;
}

} // namespace

std::string HttpRequest::header(const std::string &lowerName) const
{
    const auto found = headers.find(lowerName);
    return found == headers.end() ? std::string() : found->second;
}

HttpServer::HttpServer()
    : m_server(std::make_unique<httplib::Server>())
{
    // One request per connection, as the reader makes them; it also lets stop() end promptly.
    m_server->set_keep_alive_max_count(1);
    m_server->set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
        answer(request, response);
        return httplib::Server::HandlerResponse::Handled;
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    if (m_port <= 0)
        throw std::runtime_error("HttpServer: cannot listen on 127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::yield();
}

HttpServer::~HttpServer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopped.notify_all();
    m_server->stop();
    m_thread.join();
}

std::string HttpServer::address() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

void HttpServer::page(const std::string &target, const std::string &body, int status, const Headers &headers)
{
    setAnswer(target, [body, status, headers](const httplib::Request &, httplib::Response &response) {
        response.status = status;
        for (const auto &[name, value] : headers)
            response.set_header(name, value);
        response.set_content(body, "text/html");
    });
}

void HttpServer::revalidated(
    const std::string &target, const std::string &body, const std::string &etag, const Headers &headers)
{
    setAnswer(target, [body, etag, headers](const httplib::Request &request, httplib::Response &response) {
        for (const auto &[name, value] : headers)
            response.set_header(name, value);
        response.set_header("ETag", etag);
        if (request.get_header_value("If-None-Match") == etag) {
            response.status = 304;
            return;
        }
        response.set_content(body, "text/html");
    });
}

void HttpServer::redirect(const std::string &target, int status, const std::string &location)
{
    setAnswer(target, [status, location](const httplib::Request &, httplib::Response &response) {
        response.status = status;
        response.set_header("Location", location);
        response.set_content("<HTML><BODY>Moved</BODY></HTML>\n", "text/html");
    });
}

void HttpServer::chunked(const std::string &target, const std::string &body)
{
    setAnswer(target, [body](const httplib::Request &, httplib::Response &response) {
        response.set_chunked_content_provider("text/html", [body](std::size_t offset, httplib::DataSink &sink) {
            const std::size_t chunk = std::min<std::size_t>(64 * 1024, body.size() - offset);
            if (chunk > 0 && !sink.write(body.data() + offset, chunk))
                return false;
            if (offset + chunk == body.size())
                sink.done();
            return true;
        });
    });
}

void HttpServer::truncated(const std::string &target, const std::string &body, std::size_t sent)
{
    setAnswer(target, [body, sent](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(
            body.size(), "text/html", [body, sent](std::size_t offset, std::size_t, httplib::DataSink &sink) {
                // Returning false drops the connection.
                return offset == 0 && sink.write(body.data(), sent);
            });
    });
}

void HttpServer::stalled(const std::string &target, const std::string &firstPart)
{
    setAnswer(target, [this, firstPart](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(firstPart.size() + 1000, "text/html",
            [this, firstPart](std::size_t offset, std::size_t, httplib::DataSink &sink) {
                if (offset == 0)
                    return sink.write(firstPart.data(), firstPart.size());
                waitForStop();
                return false;
            });
    });
}

void HttpServer::trickled(const std::string &target, const std::string &body, std::chrono::milliseconds interval)
{
    setAnswer(target, [this, body, interval](const httplib::Request &, httplib::Response &response) {
        response.set_content_provider(
            body.size(), "text/html", [this, body, interval](std::size_t offset, std::size_t, httplib::DataSink &sink) {
                return !stopWithin(interval) && sink.write(body.data() + offset, 1);
            });
    });
}

std::vector<HttpRequest> HttpServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

void HttpServer::answer(const httplib::Request &request, httplib::Response &response)
{
    Answer found;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(recordOf(request));
        const auto it = m_answers.find(request.target);
        if (it != m_answers.end())
            found = it->second;
    }
    if (found) {
        found(request, response);
        return;
    }
    response.status = 404;
    response.set_content("<HTML><BODY>Not Found</BODY></HTML>\n", "text/html");
}

void HttpServer::setAnswer(const std::string &target, Answer answer)
{
    const std::lock_guard lock(m_mutex);
    m_answers[target] = std::move(answer);
}

void clearProxyEnvironment()
{
    for (const char *name :
        {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY", "ALL_PROXY", "NO_PROXY"})
        unsetenv(name);
}

void HttpServer::waitForStop()
{
    std::unique_lock lock(m_mutex);
    m_stopped.wait(lock, [this] { return m_stopping; });
}

bool HttpServer::stopWithin(std::chrono::milliseconds time)
{
    std::unique_lock lock(m_mutex);
    return m_stopped.wait_for(lock, time, [this] { return m_stopping; });
}

} // namespace nimbreltest
