#pragma once

// A label whose caption is one item of the program's own version resource,
// behind an optional prefix.

#include <cstdint>
#include <string>

#include "components/VxFileUtils.h"
#include "framework/StdCtrls.h"

enum TVersionResources : std::uint8_t {
    vrCompanyName,
    vrFileDescription,
    vrFileVersion,
    vrInternalName,
    vrLegalCopyright,
    vrOriginalFilename,
    vrProductName,
    vrProductVersion,
    vrComments,
};

// The text of one item: a standard string value, or for vrFileVersion the
// fixed block's file version as "1.7.0 (22)".
std::string VersionItemText(const TVxFileVersionInfo& Info, TVersionResources Item);

class TVXVersionLabel : public TCustomLabel {
public:
    explicit TVXVersionLabel(TComponent* AOwner);
    // Releases the shared reader, even while other labels still use it.
    ~TVXVersionLabel() override;

    TVersionResources VersionResource() const { return FVersionResource; }
    // Recomputes the caption, also for the value it already has.
    void SetVersionResource(TVersionResources Value);
    const std::string& Prefix() const { return FPrefix; }
    // Recomputes the caption, also for the value it already has.
    void SetPrefix(const std::string& Value);

    void Loaded() override;

protected:
    // The caption becomes Prefix and the item text. Reading the version
    // resource may raise; the error is the caller's.
    void UpdateCaption();

private:
    TVersionResources FVersionResource = vrFileVersion;
    std::string FPrefix;
};

// Whether the labels' shared reader of the program's version resource is
// open now.
bool VersionLabelReaderOpen();

void RegisterVersionLabel();
