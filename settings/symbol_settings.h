// The symbol parameters the parameter dialogs read and write. Every setter stores its value as
// given (no validation) and regenerates the symbol before returning.
#pragma once

namespace tirrel {

class SymbolSettings {
public:
    virtual void SetCodeVersion(int v) = 0;
    virtual void SetECCLevel(int v) = 0;
    virtual void SetCellPitch(int v) = 0;
    virtual void SetQuietZone(int v) = 0;
    [[nodiscard]] virtual int GetCodeVersion() const = 0;
    [[nodiscard]] virtual int GetECCLevel() const = 0;
    [[nodiscard]] virtual int GetCellPitch() const = 0;
    [[nodiscard]] virtual int GetQuietZone() const = 0;

protected:
    ~SymbolSettings() = default;
};

}  // namespace tirrel
