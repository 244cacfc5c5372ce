// The licence page's print picture and the links to the maker's web page.
#include "installer/ui/Maindbinstall_form.h"

#include "platform/rtl/FileSystem.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/RichEdit.h"
#include "platform/win/Shell.h"

namespace {

constexpr int kLicenceText = 86;
constexpr int kSiteText = 286;
const UnicodeString kLicenceFile = u"lic.rtf";
const UnicodeString kLicencePdf = u"lic.pdf";

} // namespace

void TFormMainDbInstall::Image1Click(TObject*) {
    if (OpenAddress)
        OpenAddress(Text(kSiteText));
}

void TFormMainDbInstall::LogoFinalImageClick(TObject*) {
    if (OpenAddress)
        OpenAddress(Text(kSiteText));
}

void TFormMainDbInstall::SiteTextClick(TObject*) {
    if (OpenAddress)
        OpenAddress(Text(kSiteText));
}

void TFormMainDbInstall::Image2Click(TObject*) {
    // Printing is a convenience: nothing that goes wrong here may disturb the wizard.
    try {
        if (!RichEditLicense)
            return;
        RichEditLicense->SaveToFile(kLicenceFile);
        if (FileExists(kLicencePdf)) {
            std::string error;
            if (win::PrintFile(kLicencePdf.ToUtf8(), error))
                return;
        }
        TPrintDialog dialog;
        if (dialog.Execute())
            RichEditLicense->Print(Text(kLicenceText));
    } catch (...) {
    }
}
