#pragma once

// The sprite engine component: owns the sprite tree and binds it to the drawing
// area, from which the engine learns its back buffer.
//     fenu::TDXSpriteEngine DXSpriteEngine;
//     DXSpriteEngine.SetDXDraw(&DXDraw);    // before the form is first shown
//     new TCircle(...) with parent &DXSpriteEngine.Engine()
// A frame: DXSpriteEngine.DrawAll(); DXSpriteEngine.MoveAll(1);

#include "display/DXDraw.h"
#include "sprites/Sprite.h"

#include <memory>

namespace fenu {

class TCustomDXSpriteEngine {
public:
    TCustomDXSpriteEngine();
    /// Unbinds from the drawing area, then destroys the engine and every sprite
    /// still in its tree.
    virtual ~TCustomDXSpriteEngine();
    TCustomDXSpriteEngine(const TCustomDXSpriteEngine&) = delete;
    TCustomDXSpriteEngine& operator=(const TCustomDXSpriteEngine&) = delete;

    TSpriteEngine& Engine() { return *engine_; }
    const TSpriteEngine& Engine() const { return *engine_; }

    TCustomDXDraw* DXDraw() const { return dxDraw_; }
    void SetDXDraw(TCustomDXDraw* dxDraw);

    void MoveAll(int32_t stepCount);
    /// Draws only while bound to an initialized drawing area.
    void DrawAll();

private:
    static void DXDrawNotify(void* context, TCustomDXDraw& sender, TDrawAreaNotice notice);

    std::unique_ptr<TSpriteEngine> engine_;
    TCustomDXDraw* dxDraw_ = nullptr;
};

class TDXSpriteEngine final : public TCustomDXSpriteEngine {};

} // namespace fenu
