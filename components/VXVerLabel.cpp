#include "components/VXVerLabel.h"

#include <memory>

#include "framework/Application.h"
#include "framework/ClassTable.h"
#include "framework/Forms.h"

namespace {

// One reader for every label, made on first need and dropped by the
// destructor of any label; the next label that needs it opens the file anew.
std::unique_ptr<TVxFileVersionInfo>& SharedReader()
{
    static std::unique_ptr<TVxFileVersionInfo> reader;
    return reader;
}

const TVxFileVersionInfo& OpenSharedReader()
{
    auto& reader = SharedReader();
    if (!reader)
        reader = std::make_unique<TVxFileVersionInfo>(Application->ExeName());
    return *reader;
}

}  // namespace

std::string VersionItemText(const TVxFileVersionInfo& Info, TVersionResources Item)
{
    switch (Item) {
    case vrCompanyName: return Info.StandardKeyValue(2);
    case vrFileDescription: return Info.StandardKeyValue(3);
    case vrFileVersion: {
        TVxFixedFileInfo block{};
        Info.FixedBlock(block);
        return Format("%d.%d.%d (%d)", static_cast<int>(block.dwFileVersionMS >> 16),
                      static_cast<int>(block.dwFileVersionMS & 0xFFFF), static_cast<int>(block.dwFileVersionLS >> 16),
                      static_cast<int>(block.dwFileVersionLS & 0xFFFF));
    }
    case vrInternalName: return Info.StandardKeyValue(5);
    case vrLegalCopyright: return Info.StandardKeyValue(6);
    case vrOriginalFilename: return Info.StandardKeyValue(8);
    case vrProductName: return Info.StandardKeyValue(9);
    case vrProductVersion: return Info.StandardKeyValue(10);
    case vrComments: return Info.StandardKeyValue(1);
    }
    return {};
}

bool VersionLabelReaderOpen()
{
    return SharedReader() != nullptr;
}

TVXVersionLabel::TVXVersionLabel(TComponent* AOwner) : TCustomLabel(AOwner)
{}

TVXVersionLabel::~TVXVersionLabel()
{
    SharedReader().reset();
}

void TVXVersionLabel::SetVersionResource(TVersionResources Value)
{
    FVersionResource = Value;
    UpdateCaption();
}

void TVXVersionLabel::SetPrefix(const std::string& Value)
{
    FPrefix = Value;
    UpdateCaption();
}

void TVXVersionLabel::Loaded()
{
    TCustomLabel::Loaded();
    UpdateCaption();
}

void TVXVersionLabel::UpdateCaption()
{
    // In a form designer no resource is read.
    const std::string item = IsDesigning() ? "*UNDEFINED*" : VersionItemText(OpenSharedReader(), FVersionResource);
    SetCaption(FPrefix + item);
}

void RegisterVersionLabel()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterStdControls();
    RegisterEnum<TVersionResources>({{"vrCompanyName", vrCompanyName},
                                     {"vrFileDescription", vrFileDescription},
                                     {"vrFileVersion", vrFileVersion},
                                     {"vrInternalName", vrInternalName},
                                     {"vrLegalCopyright", vrLegalCopyright},
                                     {"vrOriginalFilename", vrOriginalFilename},
                                     {"vrProductName", vrProductName},
                                     {"vrProductVersion", vrProductVersion},
                                     {"vrComments", vrComments}});
    // The caption is always computed, so descriptions never hold it.
    RegisterComponentClass<TVXVersionLabel, TCustomLabel>("TVXVersionLabel")
        .Unpublish("Caption")
        .Property("VersionResource", &TVXVersionLabel::VersionResource, &TVXVersionLabel::SetVersionResource)
        .Default(vrFileVersion)
        .Property("Prefix", &TVXVersionLabel::Prefix, &TVXVersionLabel::SetPrefix)
        .StoredWhen([](TVXVersionLabel* c) { return !c->Prefix().empty(); });
}
