#include "devicelink/DeviceReplies.h"

#include <json/json.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

bool ParseJson(const AnsiString& Body, Json::Value& Root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    try {
        return reader->parse(Body.data(), Body.data() + Body.size(), &Root, &errors);
    } catch (const Json::Exception&) {
        // Nested deeper than the reader's limit: not a reply of the device's.
        return false;
    }
}

// A member of an object, or null when absent.
const Json::Value& Member(const Json::Value& Object, const char* Key) {
    static const Json::Value null;
    const Json::Value* found = Object.find(Key, Key + std::char_traits<char>::length(Key));
    return found ? *found : null;
}

// An object or nothing: anything else is a structure the client does not know.
bool ObjectOrNull(const Json::Value& Value) { return Value.isObject() || Value.isNull(); }

// A number that fits an int (a fraction is cut off, as the device's integer
// fields were always read); false for any other value.
bool ReadInt(const Json::Value& Value, int Default, int& Out) {
    if (Value.isNull()) {
        Out = Default;
        return true;
    }
    if (!Value.isNumeric() || Value.isBool()) return false;
    const double d = Value.asDouble();
    if (!std::isfinite(d) || d < double(INT_MIN) || d >= double(INT_MAX) + 1.0) return false;
    Out = int(std::trunc(d));
    return true;
}

AnsiString Compact(const Json::Value& Value) {
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    return Json::writeString(writer, Value);
}

}  // namespace

TReplyParse ParseSdReply(const AnsiString& Body, TSdReply& Out) {
    Json::Value root;
    if (!ParseJson(Body, root)) return TReplyParse::NotJson;
    if (!root.isObject()) return TReplyParse::WrongStructure;
    const Json::Value& sd = Member(root, "sd");
    if (!ObjectOrNull(sd)) return TReplyParse::WrongStructure;
    TSdReply read;
    if (sd.isObject() &&
        !(ReadInt(Member(sd, "state"), -1, read.State) && ReadInt(Member(sd, "cardSize"), -1, read.CardSize) &&
          ReadInt(Member(sd, "recSize"), 0, read.RecSize)))
        return TReplyParse::WrongStructure;
    Out = read;
    return TReplyParse::Ok;
}

TReplyParse ParseRecordListReply(const AnsiString& Body, TRecordListPage& Out) {
    Json::Value root;
    if (!ParseJson(Body, root)) return TReplyParse::NotJson;
    if (!root.isObject()) return TReplyParse::WrongStructure;
    const Json::Value& list = Member(root, "recordlist");
    if (!ObjectOrNull(list)) return TReplyParse::WrongStructure;
    const Json::Value& files = list.isObject() ? Member(list, "files") : list;
    const Json::Value& id = list.isObject() ? Member(list, "id") : list;
    if (!(files.isArray() || files.isNull()) || !(id.isNull() || (id.isNumeric() && !id.isBool())))
        return TReplyParse::WrongStructure;

    TRecordListPage page;
    // Sizes are byte counts: whole or not, they must be numbers a double holds exactly.
    constexpr double kMaxSize = 9007199254740992.0;
    for (Json::ArrayIndex i = 0; files.isArray() && i < files.size(); ++i) {
        const Json::Value& item = files[i];
        const Json::Value& n = item.isObject() ? Member(item, "n") : item;
        const Json::Value& s = item.isObject() ? Member(item, "s") : item;
        const bool sizeOk = s.isNull() || (s.isNumeric() && !s.isBool() && std::isfinite(s.asDouble()) &&
                                           s.asDouble() >= 0 && s.asDouble() <= kMaxSize);
        if (!item.isObject() || !(n.isNull() || n.isString()) || !sizeOk) {
            page.Skipped.push_back(Compact(item));
            continue;
        }
        page.Files.push_back({n.isString() ? AnsiString(n.asString()) : AnsiString(" "),
                              FormatGeneral(s.isNull() ? 0.0 : s.asDouble())});
    }
    page.Id = FormatGeneral(id.isNull() ? 0.0 : id.asDouble());
    Out = std::move(page);
    return TReplyParse::Ok;
}

AnsiString FormatGeneral(double Value) {
    if (!std::isfinite(Value)) return "0";
    char text[40];
    if (Value == std::trunc(Value) && std::fabs(Value) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", Value);
    else
        std::snprintf(text, sizeof text, "%.15G", Value);
    AnsiString out(text);
    return out == "-0" ? AnsiString("0") : out;
}
