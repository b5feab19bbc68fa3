#pragma once

#include "sprites/Sprite.h"

#include <string>
#include <vector>

namespace fenu::test {

/// A sprite that writes every step the passes call on it into a shared log, as
/// "move A 1", "draw A", "hit A->B", "~A".
class LoggingSprite : public TSprite {
public:
    LoggingSprite(TSprite* parent, std::string name, std::vector<std::string>& log)
        : TSprite(parent), Name(std::move(name)), log_(log) {}
    ~LoggingSprite() override { log_.push_back("~" + Name); }

    void MoveStep(int32_t stepCount) override {
        log_.push_back("move " + Name + " " + std::to_string(stepCount));
    }
    void DrawStep() override { log_.push_back("draw " + Name); }
    void CollideWith(TSprite* other, bool& done) override {
        log_.push_back("hit " + Name + "->" + static_cast<LoggingSprite*>(other)->Name);
        if (SetDoneOnHit)
            done = true;
        if (StopCollidingOnHit)
            Collidable = false;
    }
    bool CanCollideWith(TSprite* other) override {
        log_.push_back("can " + Name + "?" + static_cast<LoggingSprite*>(other)->Name);
        return AcceptsCollisions;
    }

    void Place(double x, double y, int32_t w, int32_t h) {
        X = x;
        Y = y;
        Width = w;
        Height = h;
    }

    std::string Name;
    bool SetDoneOnHit = false;
    bool StopCollidingOnHit = false;
    bool AcceptsCollisions = true;

private:
    std::vector<std::string>& log_;
};

} // namespace fenu::test
