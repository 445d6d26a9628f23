#pragma once
// The exchange's HTTP requests: their URLs, the challenge-response that
// authenticates them and the firmware-version rule of the preload reply.
#include "rtl/AnsiString.h"

#include <cstdint>

constexpr int kDeviceKeySize = 16;
constexpr int kDeviceNonceSize = 16;

// The key: the MD5 digest of the password's bytes.
void DeviceKeyFromPassword(const AnsiString& Password, unsigned char* Key);

// MD5 over the 16 key bytes, the 16 nonce bytes and the counter's current
// value in decimal ASCII; then raises the counter. Out (33 characters)
// receives 32 lower-case hexadecimal digits and a NUL.
void ComputeResponse(const unsigned char* Key, const unsigned char* Nonce, int32_t& Counter, char* Out);

AnsiString PreloadUrl(const AnsiString& Base);
AnsiString NonceUrl(const AnsiString& Base);
AnsiString SdDataUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response);
// IdPart: empty on the first page, "&id=" + the previous page's id after it.
AnsiString RecordListUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response,
                         const AnsiString& IdPart, const AnsiString& DatePart);
// Name: the record list's "n"; it is URL-encoded here.
AnsiString RecordUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response,
                     const AnsiString& Name);

// The announcement upload into Slot (1 to 8).
AnsiString UploadUrl(const AnsiString& Base, const AnsiString& Nonce, const AnsiString& Response, int Slot);

// "&year=YYYY&month=MM&day=DD" from a Files.Data text ("yyyy-mm-dd ..."), as
// stored; empty when nothing is stored (an empty text).
AnsiString RecordListDatePart(const AnsiString& NewestData);

enum class TFirmwareCheck { Supported, TooOld, Unreadable };

// The version value of a preload reply read the old way: at the fixed place
// behind the key, cut at its closing quote and without its dots.
AnsiString FirmwareVersionText(const AnsiString& Reply);
// The major version: the leading digits of the value of the quoted key
// "version" (blanks allowed around the colon); without that key, the first
// digit of FirmwareVersionText. -1 when there is no digit.
int FirmwareMajorVersion(const AnsiString& Reply);
// Below 2 is too old.
TFirmwareCheck CheckFirmware(const AnsiString& Reply);
