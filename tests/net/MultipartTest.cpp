// The upload body, byte for byte, as it reaches the server.
#include "net/HttpClient.h"
#include "net/Multipart.h"

#include "TempFolder.h"
#include "TestServers.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <mutex>

namespace {

using namespace yorde::test;

const TBoundaryStamp kStamp{2024, 3, 5, 14, 7, 9, 42};
const std::string kBoundary = "--------030524140709042";

std::string ExpectedBody(const std::string& path, const std::string& bytes) {
    return "----------030524140709042\r\n"
           "Content-Disposition: form-data; name=\"fileToUpload2\"; filename=\"" +
           path +
           "\"\r\n"
           "Content-Type: tar\r\n"
           "\r\n" +
           bytes +
           "\r\n"
           "\r\n"
           "----------030524140709042--";
}

}  // namespace

TEST(MultipartForm, BodyAndContentTypeAreExactToTheByte) {
    TTempFolder dir("yorde-net");
    std::string path = dir.Path("record.wav");
    std::string bytes = AllByteValues() + "\r\n--" + kBoundary + "\r\n";
    WriteFile(path, bytes);

    TMultipartForm form(kStamp);
    form.AddFile("fileToUpload2", path, "tar");
    EXPECT_EQ(form.Boundary(), kBoundary);
    EXPECT_EQ(form.RequestContentType(), "multipart/form-data; boundary=" + kBoundary);
    std::string expected = ExpectedBody(path, bytes);
    EXPECT_EQ(form.ReadAll(), expected);
    EXPECT_EQ(form.Size(), int64_t(expected.size()));

    // Read in small pieces from any offset gives the same bytes.
    std::string pieces;
    char buf[7];
    for (size_t n; (n = form.Read(int64_t(pieces.size()), buf, sizeof buf)) > 0;) pieces.append(buf, n);
    EXPECT_EQ(pieces, expected);
}

TEST(MultipartForm, BoundaryIsZeroPaddedLocalTime) {
    EXPECT_EQ(TMultipartForm::MakeBoundary({2009, 12, 31, 23, 59, 58, 999}), "--------123109235958999");
    EXPECT_EQ(TMultipartForm::MakeBoundary({2000, 1, 2, 3, 4, 5, 6}), "--------010200030405006");
    EXPECT_EQ(TMultipartForm().Boundary().size(), 8u + 15u);
}

TEST(MultipartForm, FileIsHeldOpenFromAddUntilTheFormGoes) {
    TTempFolder dir("yorde-net");
    std::string path = dir.Path("record.wav");
    WriteFile(path, "abc");
    TMultipartForm form(kStamp);
    form.AddFile("fileToUpload2", path, "tar");
    std::filesystem::remove(path);  // the open file keeps its bytes
    EXPECT_EQ(form.ReadAll(), ExpectedBody(path, "abc"));

    // A file cut shorter after it was added would send a body shorter than announced.
    WriteFile(path, "abcdef");
    TMultipartForm shrinking(kStamp);
    shrinking.AddFile("fileToUpload2", path, "tar");
    std::filesystem::resize_file(path, 2);
    EXPECT_THROW(shrinking.ReadAll(), EReadError);

    TMultipartForm missing(kStamp);
    EXPECT_THROW(missing.AddFile("fileToUpload2", dir.Path("none.wav"), "tar"), EFOpenError);
    EXPECT_THROW(missing.AddFile("fileToUpload2", dir.Root(), "tar"), EFOpenError);
}

TEST(MultipartForm, TextThatWouldBreakThePartHeaderIsRefused) {
    TTempFolder dir("yorde-net");
    std::string path = dir.Path("a.wav");
    WriteFile(path, "x");
    TMultipartForm form(kStamp);
    EXPECT_THROW(form.AddFile("field\r\nX-Injected: 1", path, "tar"), EInvalidOperation);
    EXPECT_THROW(form.AddFile("field", path, "tar\""), EInvalidOperation);
}

TEST(MultipartUpload, RequestOnTheWireIsHttp10WithTheExactBody) {
    TTempFolder dir("yorde-net");
    std::string path = dir.Path("record.wav");
    std::string bytes = AllByteValues();
    WriteFile(path, bytes);

    std::mutex m;
    std::string request;
    TRawServer server([&](TRawConnection& c) {
        std::string r = c.ReadRequest();
        {
            std::lock_guard<std::mutex> lock(m);
            request = r;
        }
        c.Send("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
    });

    TMultipartForm form(kStamp);
    form.AddFile("fileToUpload2", path, "tar");
    THttpClient http;
    EXPECT_EQ(http.PostMultipart(server.Url("/upload.cgi?nonce=00ff&response=ab&type=announcement&id=3"), form), "ok");

    std::lock_guard<std::mutex> lock(m);
    size_t headEnd = request.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos);
    std::string head = request.substr(0, headEnd + 2);
    std::string body = request.substr(headEnd + 4);
    std::string expected = ExpectedBody(path, bytes);
    EXPECT_EQ(head.substr(0, head.find("\r\n")),
              "POST /upload.cgi?nonce=00ff&response=ab&type=announcement&id=3 HTTP/1.0");
    EXPECT_NE(head.find("\r\nConnection: keep-alive\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nContent-Type: multipart/form-data; boundary=" + kBoundary + "\r\n"), std::string::npos);
    EXPECT_NE(head.find("\r\nContent-Length: " + std::to_string(expected.size()) + "\r\n"), std::string::npos);
    EXPECT_EQ(head.find("Expect:"), std::string::npos);
    EXPECT_EQ(body, expected);
}

TEST(MultipartUpload, RefusalOfTheDeviceKeepsItsStatusLine) {
    TTempFolder dir("yorde-net");
    WriteFile(dir.Path("record.wav"), "x");
    TRawServer server([](TRawConnection& c) {
        c.ReadRequest();
        c.Send("HTTP/1.0 403 Forbidden\r\nContent-Length: 3\r\n\r\nbig");
    });
    TMultipartForm form(kStamp);
    form.AddFile("fileToUpload2", dir.Path("record.wav"), "tar");
    THttpClient http;
    try {
        http.PostMultipart(server.Url("/upload.cgi"), form);
        FAIL() << "no error";
    } catch (const EHttpProtocolError& e) {
        EXPECT_EQ(e.StatusLine, "HTTP/1.0 403 Forbidden");
        EXPECT_EQ(e.ErrorMessage, "big");
    }
}

TEST(MultipartUpload, PostDropsTheKeptConnectionFirst) {
    TTempFolder dir("yorde-net");
    WriteFile(dir.Path("record.wav"), "x");
    // Answers every request on a connection with the client's port.
    TRawServer server([](TRawConnection& c) {
        for (;;) {
            if (c.ReadRequest().empty()) return;
            sockaddr_in peer{};
            socklen_t len = sizeof peer;
            ::getpeername(c.Fd(), reinterpret_cast<sockaddr*>(&peer), &len);
            std::string port = std::to_string(ntohs(peer.sin_port));
            c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(port.size()) + "\r\n\r\n" + port);
        }
    });
    TMultipartForm form(kStamp);
    form.AddFile("fileToUpload2", dir.Path("record.wav"), "tar");
    THttpClient http;
    std::string kept = http.Get(server.Url());
    EXPECT_EQ(http.Get(server.Url()), kept);
    EXPECT_NE(http.PostMultipart(server.Url(), form), kept);
    EXPECT_EQ(server.Connections(), 2);
}
