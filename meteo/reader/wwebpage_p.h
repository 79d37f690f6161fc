#pragma once

#include "corekit/lstring.h"
#include "meteo/reader/wfailure.h"
#include "meteo/reader/wfetchlimits.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct curl_slist;

namespace meteo
{

// One web page fetched with an HTTP GET and handed out line by line. One object serves one page.
//
// open() transfers the whole body (at most MAX_PAGE_SIZE bytes, or the size set) before it reports success, so a
// transfer that fails half-way fails the open and no caller ever sees half a page.
class WWebPage
{
public:
    static constexpr std::size_t MAX_PAGE_SIZE = 16 * 1024 * 1024;
    // The longest piece readLine hands out: a longer line comes in several pieces.
    static constexpr std::size_t MAX_PIECE = 1022;
    // The most of a refused answer's body kept for problem(): a problem report is a few hundred bytes.
    static constexpr std::size_t MAX_PROBLEM_SIZE = 4096;

    // With useProxy the page is fetched through the proxy named by proxyLocation ("proxy.example.com:8080"),
    // otherwise as the environment says (http_proxy, https_proxy, no_proxy). A transfer stops as soon as the
    // abort flag, if given, is set from another thread.
    WWebPage(bool useProxy, const corekit::LString &proxyLocation, const std::atomic<bool> *abort = nullptr);
    ~WWebPage();
    WWebPage(const WWebPage &) = delete;
    WWebPage &operator=(const WWebPage &) = delete;

    // The National Weather Service asks every client to name itself, and a way to reach whoever runs it, in the
    // User-Agent header, so that it can write to them about a misbehaving client before blocking it; the web
    // service answers requests without one with 403. Requests name the program and version ("Nimbrel/1.4.0"),
    // and with a contact that is an e-mail address also that: "Nimbrel/1.4.0 (ops@example.org)". Any other text
    // is left out.
    void setContact(std::string_view contact);
    // Sends the header ("Accept: application/geo+json") with every later request. One naming the User-Agent
    // replaces the program's own.
    void addHeader(const char *header);
    // Replaces the time limits of later transfers (by default those of WFetchLimits).
    void setLimits(const WFetchLimits &limits) { m_limits = limits; }
    // Lowers the largest body later transfers accept; at most MAX_PAGE_SIZE.
    void setMaxSize(std::size_t bytes) { m_maxSize = bytes < MAX_PAGE_SIZE ? bytes : MAX_PAGE_SIZE; }
    // Makes later requests conditional on the validators of the answer kept from before (an ETag '"a1b2"', a
    // Last-Modified 'Wed, 02 Sep 2026 07:47:16 GMT'; either may be empty): the server may then answer 304, which
    // open() takes as success with notModified() and no body.
    void setValidators(const std::string &etag, const std::string &lastModified);

    // L_OK when the server answered with status 200 and the whole body arrived, or with 304 to a conditional
    // request; L_CONNECT for anything else: no
    // connection, another status (redirects are not followed), a broken, stalled or too slow transfer, an abort, a
    // body over the largest size.
    int open(const corekit::LString &address);
    // L_OK and the next line with its line feed (none on a last line that has none); carriage returns, NUL bytes
    // and every other control character but the tab are dropped. L_INPUT at the end of the body, L_ERROR when no page
    // is open; line untouched then.
    int readLine(corekit::LString &line);
    // L_OK and the rest of the body whole, with the characters readLine drops dropped, as readLine would hand it
    // out; L_ERROR when no page is open. The page is closed afterwards.
    int takeBody(std::string &body);
    // Frees the body; readLine reports L_ERROR afterwards.
    void close();

    // Why the last open failed, in words ("HTTP status 404"), for diagnostics; empty after a success.
    const char *error() const { return m_error; }
    // The HTTP status of the last answer; 0 when no answer arrived.
    long status() const { return m_status; }
    // Why the last open failed; kind None after a success.
    const WFailure &failure() const { return m_failure; }
    // The start of the body of an answer with a status other than 200 (at most MAX_PROBLEM_SIZE bytes): the
    // server's account of the problem.
    const std::string &problem() const { return m_problem; }
    // Whether the last answer was 304: the answer kept from before stands.
    bool notModified() const { return m_status == 304 && m_conditional; }
    // A header of the last answer, of those the caller needs to keep or obey ("etag", "last-modified",
    // "cache-control", "retry-after"; names in lower case), cleaned of control characters; empty when it sent none.
    std::string answerHeader(const std::string &lowerName) const;

private:
    struct HandleDeleter {
        void operator()(void *handle) const;
    };
    struct Transfer;
    using Headers = std::vector<std::pair<std::string, std::string>>;

    bool configure(const corekit::LString &address, Transfer &transfer, curl_slist *headers);
    int conclude(int code, const Transfer &transfer);
    int refuse(const char *reason, WFailure::Kind kind = WFailure::Kind::Connect);

    std::unique_ptr<void, HandleDeleter> m_handle;
    bool m_useProxy;
    corekit::LString m_proxyLocation;
    const std::atomic<bool> *m_abort;
    WFetchLimits m_limits;
    std::size_t m_maxSize = MAX_PAGE_SIZE;
    std::string m_userAgent;
    std::vector<std::string> m_headers;
    std::vector<std::string> m_validators;
    bool m_conditional = false;
    Headers m_answerHeaders;
    std::string m_body;
    std::size_t m_position = 0;
    bool m_opened = false;
    long m_status = 0;
    WFailure m_failure;
    std::string m_problem;
    char m_error[256] = {};
};

// Whether the text is an e-mail address that can go into a header as it is: "ops@example.org".
bool isContact(std::string_view text);
// The User-Agent of every request (see WWebPage::setContact).
std::string userAgent(std::string_view contact);

} // namespace meteo
