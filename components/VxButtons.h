#pragma once

// The dialog push button: a Kind sets it up as one of the stock buttons
// (caption, modal result, default and cancel roles) in one step.

#include <cstdint>
#include <string>

#include "framework/StdCtrls.h"

enum TButtonStyle : std::uint8_t { bsAutoDetect, bsWin31, bsNew };

enum TVxButtonKind : std::uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

struct TVxButtonStock {
    const char* Caption;
    TModalResult ModalResult;
    bool Default;
    bool Cancel;
};

// The stock settings of a kind.
const TVxButtonStock& VxButtonStock(TVxButtonKind Kind);

class TVxButton : public TButton {
public:
    explicit TVxButton(TComponent* AOwner);

    // Reading turns the kind into bkCustom for good when Default, Cancel or
    // ModalResult no longer match the stock settings; a caption of one's
    // own does not.
    TVxButtonKind Kind();
    // Applies the stock settings; a caption read from a description before
    // the kind is kept.
    void SetKind(TVxButtonKind Value);
    // The kind as stored, without the check Kind() makes.
    TVxButtonKind StoredKind() const { return FKind; }
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle Value);

    // Help asks for the first help context up the parents, Close closes the
    // form; either replaces the ordinary click.
    void Click() override;

protected:
    // Only repaints: the native default frame stays as it was made.
    void ActiveDefaultChanged(bool Active) override;

private:
    TButtonStyle FStyle = bsAutoDetect;
    TVxButtonKind FKind = bkCustom;
};

void RegisterVxButton();
