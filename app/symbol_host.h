// What content pages and the parameter dialogs may ask of the main window. Every setter
// stores its value as given (no validation) and regenerates the symbol before returning.
#pragma once

#include <string>

namespace tirrel {

// Carrier dialects, as the pages and the information files name them.
enum Dialect : int {
    kDialectMobileV1 = 100,  // 中国移动v1.0, header 01 10
    kDialectMobileV2 = 101,  // 中国移动v2.0, header 01 20
    kDialectUnicom = 102,    // 中国联通,     header 11 10
};

class SymbolHost {
public:
    virtual void SetPayload(std::string text) = 0;  // GBK bytes, possibly empty
    virtual void SetCodeVersion(int v) = 0;
    virtual void SetECCLevel(int v) = 0;
    virtual void SetCellPitch(int v) = 0;
    virtual void SetQuietZone(int v) = 0;
    virtual int GetCodeVersion() const = 0;
    virtual int GetECCLevel() const = 0;
    virtual int GetCellPitch() const = 0;
    virtual int GetQuietZone() const = 0;
    virtual int GetDialect() const = 0;

protected:
    ~SymbolHost() = default;
};

}  // namespace tirrel
