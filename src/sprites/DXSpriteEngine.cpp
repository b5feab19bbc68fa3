#include "sprites/DXSpriteEngine.h"

namespace fenu {

TCustomDXSpriteEngine::TCustomDXSpriteEngine() : engine_(std::make_unique<TSpriteEngine>()) {}

TCustomDXSpriteEngine::~TCustomDXSpriteEngine() {
    SetDXDraw(nullptr);
    engine_.reset();
}

void TCustomDXSpriteEngine::SetDXDraw(TCustomDXDraw* dxDraw) {
    if (dxDraw_ != nullptr)
        dxDraw_->RemoveNotifyHandler(&DXDrawNotify, this);
    dxDraw_ = dxDraw;
    if (dxDraw_ != nullptr)
        dxDraw_->AddNotifyHandler(&DXDrawNotify, this);
}

void TCustomDXSpriteEngine::MoveAll(int32_t stepCount) {
    engine_->Move(stepCount);
}

void TCustomDXSpriteEngine::DrawAll() {
    if (dxDraw_ != nullptr && dxDraw_->Initialized())
        engine_->Draw();
}

void TCustomDXSpriteEngine::DXDrawNotify(void* context, TCustomDXDraw& sender,
                                         TDrawAreaNotice notice) {
    auto& self = *static_cast<TCustomDXSpriteEngine*>(context);
    switch (notice) {
    case TDrawAreaNotice::anDestroying:
        if (self.dxDraw_ == &sender)
            self.SetDXDraw(nullptr);
        break;
    case TDrawAreaNotice::anInitialized:
        self.engine_->SetSurface(sender.Surface());
        break;
    case TDrawAreaNotice::anFinalized:
        self.engine_->SetSurface(nullptr);
        break;
    default:
        break;
    }
}

} // namespace fenu
