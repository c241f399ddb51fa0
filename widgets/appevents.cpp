#include "appevents.h"

#include "appeventlist.h"
#include "apphints.h"

TAppEvents::TAppEvents(QObject *parent)
    : QObject(parent)
{
    TAppEventList::Instance().Register(this);
}

TAppEvents::~TAppEvents()
{
    if (TAppEventList *list = TAppEventList::Existing())
        list->Unregister(this);
}

TColor TAppEvents::HintColor() const { return TAppHints::Instance().Color(); }
void TAppEvents::SetHintColor(TColor color) { TAppHints::Instance().SetColor(color); }
int TAppEvents::HintPause() const { return TAppHints::Instance().Pause(); }
void TAppEvents::SetHintPause(int ms) { TAppHints::Instance().SetPause(ms); }
int TAppEvents::HintShortPause() const { return TAppHints::Instance().ShortPause(); }
void TAppEvents::SetHintShortPause(int ms) { TAppHints::Instance().SetShortPause(ms); }
int TAppEvents::HintHidePause() const { return TAppHints::Instance().HidePause(); }
void TAppEvents::SetHintHidePause(int ms) { TAppHints::Instance().SetHidePause(ms); }
bool TAppEvents::ShowHint() const { return TAppHints::Instance().ShowHint(); }
void TAppEvents::SetShowHint(bool show) { TAppHints::Instance().SetShowHint(show); }
