#include "SimMultipart.h"

#include <algorithm>
#include <cctype>

namespace devicesim {

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    size_t e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// Value of key="..." (or key=token) inside a header value.
std::string HeaderParam(const std::string& value, const std::string& key) {
    const std::string lower = Lower(value);
    for (size_t pos = lower.find(key + "="); pos != std::string::npos; pos = lower.find(key + "=", pos + 1)) {
        // Only a whole parameter name: "name" must not match inside "filename".
        if (pos > 0 && lower[pos - 1] != ';' && lower[pos - 1] != ' ' && lower[pos - 1] != '\t') continue;
        size_t v = pos + key.size() + 1;
        if (v < value.size() && value[v] == '"') {
            size_t end = value.find('"', v + 1);
            return value.substr(v + 1, end == std::string::npos ? std::string::npos : end - v - 1);
        }
        size_t end = value.find(';', v);
        return Trim(value.substr(v, end == std::string::npos ? std::string::npos : end - v));
    }
    return {};
}

}  // namespace

std::string BoundaryOf(const std::string& contentType) {
    if (Lower(contentType).rfind("multipart/form-data", 0) != 0) return {};
    return HeaderParam(contentType, "boundary");
}

bool FirstFormPart(const std::string& body, const std::string& boundary, TFormPart& part) {
    if (boundary.empty()) return false;
    const std::string delim = "--" + boundary;
    size_t pos = body.find(delim);
    if (pos == std::string::npos || body.compare(pos + delim.size(), 2, "\r\n") != 0) return false;
    pos += delim.size() + 2;

    size_t dataStart;
    std::string headers;
    if (body.compare(pos, 2, "\r\n") == 0) {
        dataStart = pos + 2;
    } else {
        size_t end = body.find("\r\n\r\n", pos);
        if (end == std::string::npos) return false;
        headers = body.substr(pos, end - pos + 2);
        dataStart = end + 4;
    }
    size_t dataEnd = body.find("\r\n" + delim, dataStart);
    if (dataEnd == std::string::npos) return false;

    part = TFormPart{};
    for (size_t line = 0; line < headers.size();) {
        size_t eol = headers.find("\r\n", line);
        const std::string text = headers.substr(line, eol - line);
        line = eol + 2;
        size_t colon = text.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = Lower(Trim(text.substr(0, colon)));
        const std::string value = Trim(text.substr(colon + 1));
        if (name == "content-disposition") {
            part.Name = HeaderParam(value, "name");
            part.FileName = HeaderParam(value, "filename");
        } else if (name == "content-type") {
            part.ContentType = value;
        }
    }
    part.Data = body.substr(dataStart, dataEnd - dataStart);
    return true;
}

}  // namespace devicesim
