#pragma once
// The first part of a multipart/form-data body, read the way the device
// reads an upload: no streaming, no nested parts.
#include <string>

namespace devicesim {

struct TFormPart {
    std::string Name;         // form field name
    std::string FileName;     // filename="..." of the part, as sent
    std::string ContentType;  // the part's Content-Type, empty when absent
    std::string Data;         // bytes up to the CR LF before the next delimiter
};

// The boundary parameter of a Content-Type header; empty when there is none.
std::string BoundaryOf(const std::string& contentType);

// False when the body has no complete first part.
bool FirstFormPart(const std::string& body, const std::string& boundary, TFormPart& part);

}  // namespace devicesim
