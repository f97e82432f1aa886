#pragma once
// The "About..." box: product name, version and copyright from the version
// resource with a short description, the maker's web and e-mail links, and
// the program icon.

#include <string>

#include "controls/separator_line.h"
#include "framework/dialog_object.h"
#include "framework/owners.h"
#include "richtext/hyperlink.h"
#include "richtext/markup_label.h"

class VersionInfo;

class AboutDialog final : public DialogObject {
public:
    bool ProcessMessage(Message& m) override;

    // 1 (OK) or 2 (Escape, close box).
    INT_PTR Run(HWND owner);

    // The label's markup for the version strings, as they are (not escaped).
    static std::string ProductText(const VersionInfo& version);

private:
    void OnInitDialog(Message& m);
    void OnEnd(Message& m);

    HyperLink webLink_;
    HyperLink mailLink_;
    SeparatorLine lowerLine_;
    SeparatorLine upperLine_;
    MarkupLabel label_;
    Icon bigIcon_;
    Icon smallIcon_;

    static const MessageEntry<AboutDialog> kMessages[];
};

// The maker's addresses the dialog links to.
extern const char kMakerWebAddress[];
extern const char kSupportMailTarget[];
