#pragma once
// How much heap a piece of code holds at its worst: for tests that a reader's
// memory stays in proportion to its input.
//
//     AllocationMeter meter;
//     Read(input);
//     EXPECT_LE(meter.Peak(), 4 * input.size() + 65536);
//
// A test program that uses it links orvane_allocation_meter, which replaces the
// global operator new and delete (malloc underneath, each block's size kept in
// front of it) for that whole program and no other. Only what goes through
// operator new counts, the containers and strings of the program and of the
// standard library; what the system allocates inside its own functions does not.
// Counting is atomic and sees every thread; one meter at a time.
#include <cstddef>

class AllocationMeter {
public:
    // Starts from the bytes held now.
    AllocationMeter();
    AllocationMeter(const AllocationMeter&) = delete;
    AllocationMeter& operator=(const AllocationMeter&) = delete;

    // The most bytes held at once since the meter started, beyond those held
    // when it started.
    std::size_t Peak() const;

private:
    std::size_t start_;
};
