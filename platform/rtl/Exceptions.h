#pragma once
// The run-time library's exception hierarchy. Handlers written as
// catch (Exception&) see these and nothing else; the database layer's own
// exception type deliberately stands outside it.
#include <exception>
#include "AnsiString.h"

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : Message(std::move(message)) {}
    ~Exception() override = default;
    const char* what() const noexcept override { return Message.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }
    AnsiString Message;
};

#define YORDE_DECLARE_EXCEPTION(Name, Base)                               \
    class Name : public Base {                                            \
    public:                                                               \
        using Base::Base;                                                 \
        const char* ClassName() const noexcept override { return #Name; } \
    };

YORDE_DECLARE_EXCEPTION(EAbort, Exception)
YORDE_DECLARE_EXCEPTION(EConvertError, Exception)
YORDE_DECLARE_EXCEPTION(EListError, Exception)
YORDE_DECLARE_EXCEPTION(EStringListError, EListError)
YORDE_DECLARE_EXCEPTION(EInvalidOperation, Exception)
YORDE_DECLARE_EXCEPTION(EInvalidCast, Exception)
YORDE_DECLARE_EXCEPTION(EAbstractError, Exception)
YORDE_DECLARE_EXCEPTION(EOutOfMemory, Exception)
YORDE_DECLARE_EXCEPTION(EInOutError, Exception)
YORDE_DECLARE_EXCEPTION(EOSError, Exception)
YORDE_DECLARE_EXCEPTION(EThread, Exception)
YORDE_DECLARE_EXCEPTION(ERegistryException, Exception)
YORDE_DECLARE_EXCEPTION(EStreamError, Exception)
YORDE_DECLARE_EXCEPTION(EFCreateError, EStreamError)
YORDE_DECLARE_EXCEPTION(EFOpenError, EStreamError)
YORDE_DECLARE_EXCEPTION(EFilerError, EStreamError)
YORDE_DECLARE_EXCEPTION(EReadError, EFilerError)
YORDE_DECLARE_EXCEPTION(EWriteError, EFilerError)
YORDE_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
YORDE_DECLARE_EXCEPTION(EMethodNotFound, EFilerError)
YORDE_DECLARE_EXCEPTION(EInvalidImage, EFilerError)
YORDE_DECLARE_EXCEPTION(EResNotFound, Exception)
YORDE_DECLARE_EXCEPTION(EComponentError, Exception)
YORDE_DECLARE_EXCEPTION(EPropertyError, Exception)
// The media player: a device that cannot be opened, a file it cannot play, an
// operation its current state does not allow.
YORDE_DECLARE_EXCEPTION(EMCIDeviceError, Exception)
