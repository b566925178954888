// TZentVersion: reads the fixed file version and three strings of an
// executable's version resource whenever FileName is assigned. Owned by the
// console window; GUI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Events.h"

class TZentVersion : public tk::Component {
public:
    explicit TZentVersion(tk::Component* owner = nullptr) : tk::Component(owner) {}

    // Wide, so a file in any folder can be read.
    const std::wstring& FileName() const { return FFileName; }
    // Always reads, also when the name is unchanged.
    void SetFileName(const std::wstring& value);
    // A name in the ANSI code page.
    void SetFileName(const std::string& value);

    std::uint32_t LastError() const { return FLastError; }
    std::uint16_t Major() const { return FMajor; }
    std::uint16_t Minor() const { return FMinor; }
    std::uint16_t Release() const { return FRelease; }
    std::uint16_t Build() const { return FBuild; }
    const std::string& ProductVersion() const { return FProductVersion; }
    const std::string& ProductName() const { return FProductName; }
    const std::string& CompanyName() const { return FCompanyName; }

    std::string VersionString() const;

    const tk::NotifyEvent& OnError() const { return FOnError; }
    void SetOnError(tk::NotifyEvent handler) { FOnError = std::move(handler); }

private:
    void ReadVersionInfo();

    std::wstring FFileName;
    std::uint32_t FLastError = 0;
    std::uint16_t FMajor = 0;
    std::uint16_t FMinor = 0;
    std::uint16_t FRelease = 0;
    std::uint16_t FBuild = 0;
    std::string FProductVersion;
    std::string FProductName;
    std::string FCompanyName;
    tk::NotifyEvent FOnError;
};
