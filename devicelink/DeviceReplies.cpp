#include "devicelink/DeviceReplies.h"

#include <json/json.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

bool ParseJson(const AnsiString& Body, Json::Value& Root) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(Body.data(), Body.data() + Body.size(), &Root, &errors);
}

// A member of an object; null for a missing member or a value that is no object.
const Json::Value& Member(const Json::Value& Object, const char* Key) {
    static const Json::Value null;
    if (!Object.isObject()) return null;
    const Json::Value* found = Object.find(Key, Key + std::char_traits<char>::length(Key));
    return found ? *found : null;
}

int IntOr(const Json::Value& Value, int Default) {
    // A device number that does not fit an int is no state or size we know.
    return Value.isNumeric() && Value.isConvertibleTo(Json::intValue) ? Value.asInt() : Default;
}

}  // namespace

bool ParseSdReply(const AnsiString& Body, TSdReply& Out) {
    Json::Value root;
    if (!ParseJson(Body, root)) return false;
    const Json::Value& sd = Member(root, "sd");
    Out.State = IntOr(Member(sd, "state"), -1);
    Out.CardSize = IntOr(Member(sd, "cardSize"), -1);
    Out.RecSize = IntOr(Member(sd, "recSize"), 0);
    return true;
}

bool ParseRecordListReply(const AnsiString& Body, TRecordListPage& Out) {
    Json::Value root;
    if (!ParseJson(Body, root)) return false;
    const Json::Value& list = Member(root, "recordlist");
    const Json::Value& files = Member(list, "files");
    Out.Files.clear();
    if (files.isArray()) {
        for (Json::ArrayIndex i = 0; i < files.size(); ++i) {
            const Json::Value& n = Member(files[i], "n");
            const Json::Value& s = Member(files[i], "s");
            Out.Files.push_back({n.isString() ? AnsiString(n.asString()) : AnsiString(" "),
                                 FormatGeneral(s.isNumeric() ? s.asDouble() : 0.0)});
        }
    }
    const Json::Value& id = Member(list, "id");
    Out.Id = FormatGeneral(id.isNumeric() ? id.asDouble() : 0.0);
    return true;
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
