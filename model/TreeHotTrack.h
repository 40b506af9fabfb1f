#pragma once
// Mouse-over highlighting of nodes in run mode: the node under the pointer
// may take another border pen and another (or an underlined) font.

#include "canvas/ChartPen.h"
#include "canvas/KorFont.h"

#include <memory>

// The font of hot nodes: underlined unless told otherwise.
class TKorHotTrackFont : public TKorFont
{
    DX_OBJECT(TKorHotTrackFont)
public:
    explicit TKorHotTrackFont(TEvent<TGraphicsObject *> onChange = {});
};

class TTreeHotTrack : public TGraphicsObject
{
    DX_OBJECT(TTreeHotTrack)
public:
    explicit TTreeHotTrack(TEvent<TGraphicsObject *> onChange = {});
    ~TTreeHotTrack() override;

    // Highlighting is applied at all (never in design mode).
    bool Active() const { return FActive; }
    void SetActive(bool v) { Update(FActive, v); }
    // The border of a hot node when UseBorder.
    TChartPen *Border() const { return FBorder.get(); }
    // The font of a hot node's text when UseFont.
    TKorHotTrackFont *Font() const { return FFont.get(); }
    // Without UseFont: the node's own font, underlined.
    bool HotLink() const { return FHotLink; }
    void SetHotLink(bool v) { Update(FHotLink, v); }
    bool UseBorder() const { return FUseBorder; }
    void SetUseBorder(bool v) { Update(FUseBorder, v); }
    bool UseFont() const { return FUseFont; }
    void SetUseFont(bool v) { Update(FUseFont, v); }

    void Assign(const TPersistent *source) override;

private:
    std::unique_ptr<TChartPen> FBorder;
    std::unique_ptr<TKorHotTrackFont> FFont;
    bool FActive = false;
    bool FHotLink = true;
    bool FUseBorder = false;
    bool FUseFont = false;
};
