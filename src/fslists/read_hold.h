#pragma once
// Reads put off while a list is held: a hold inside a hold counts once, and a read asked for meanwhile is
// owed to the release that ends the hold. A window holds its lists while it starts, so they read only
// the folder the start ends on.
class TReadHold {
public:
    void Hold() { ++held_; }
    bool Held() const { return held_ > 0; }
    // A read asked for while held.
    void Owe() { owed_ = true; }
    // Ends one hold; true when that ended the last and a read is owed, which the caller makes now.
    bool Release()
    {
        if (held_ == 0 || --held_ > 0 || !owed_)
            return false;
        owed_ = false;
        return true;
    }

private:
    int held_ = 0;
    bool owed_ = false;
};
