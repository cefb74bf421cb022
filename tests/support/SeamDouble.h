#pragma once

// A test double stands in for its seam's system implementation for as long
// as it lives.
template <class SeamInterface>
class SeamDouble : public SeamInterface
{
protected:
    SeamDouble() { SeamInterface::Install(this); }
    ~SeamDouble() override { SeamInterface::Install(nullptr); }
};
