// The shape shared by the three pools of the stage (bullets, effects, items):
// a fixed array of records allocated once at program start whose live
// records fill the front densely, in the order they were added, and an id
// table that maps each id in use to its slot and threads the free ids into a
// list. Adding copies a record into the next slot; updates remove the dead
// records in the same pass by copying survivors down (stable, so drawing
// order stays the order of adding). Nothing here allocates after start-up.
//
// The capacity is a hard limit: an add to a full pool drops the new record
// and counts the drop (`dropped`), so a creator can never write past the
// array. `peak` is the highest count seen, for the log.
#pragma once

#include <cstdint>
#include <memory>

#include "sdk/core/log.h"

template <typename T, uint32_t Capacity>
class Object_Pool {
public:
    static constexpr uint32_t capacity = Capacity;

    Object_Pool() : objects_(new T[Capacity]), ids_(new uint32_t[Capacity]) { clear_slots(); }
    Object_Pool(const Object_Pool&) = delete;
    Object_Pool& operator=(const Object_Pool&) = delete;

    // Live records: slots 0 .. size() - 1.
    uint32_t size() const { return count_; }
    T& operator[](uint32_t slot) { return objects_[slot]; }
    T* begin() { return objects_.get(); }
    T* end() { return objects_.get() + count_; }
    bool full() const { return count_ >= Capacity; }

    // The slot that holds the record with this id (valid for ids in use).
    uint32_t slot_of(uint32_t id) const { return ids_[id]; }
    uint32_t dropped() const { return dropped_; }
    // Logs the drops since the last report (once per reset, not per frame).
    void report_drops(const char* what);
    uint32_t peak() const { return peak_; }

protected:
    // Empties the pool: ids are handed out 0, 1, 2, ... again.
    void clear_slots() {
        count_ = 0;
        free_head_ = 0;
        for (uint32_t i = 0; i < Capacity; ++i) ids_[i] = i + 1;
    }

    // Copies `r` into the next slot and gives it the next free id; null (and
    // one more drop) when the pool is full.
    T* append(const T& r) {
        if (count_ >= Capacity) {
            ++dropped_;
            return nullptr;
        }
        uint32_t slot = count_;
        T& o = objects_[slot];
        o = r;
        uint32_t id = free_head_;
        o.id = id;
        free_head_ = ids_[id];
        ids_[id] = slot;
        ++count_;
        if (count_ > peak_) peak_ = count_;
        return &o;
    }

    // Empties the pool and reports what it had to drop.
    void empty(const char* what) {
        clear_slots();
        report_drops(what);
    }

    // Returns an id to the free list; the id freed last is handed out first.
    void free_id(uint32_t id) {
        ids_[id] = free_head_;
        free_head_ = id;
    }

    // Moves the live record at slot `from` down to slot `to` (to < from).
    void move_down(uint32_t from, uint32_t to) {
        objects_[to] = std::move(objects_[from]);
        ids_[objects_[to].id] = to;
    }

    std::unique_ptr<T[]> objects_;
    std::unique_ptr<uint32_t[]> ids_;
    uint32_t count_ = 0;
    uint32_t free_head_ = 0;
    uint32_t dropped_ = 0;
    uint32_t peak_ = 0;
    uint32_t reported_ = 0;
};

template <typename T, uint32_t Capacity>
void Object_Pool<T, Capacity>::report_drops(const char* what) {
    if (dropped_ > reported_) {
        sdk::log_event("Performance", "%1 pool full: %2 dropped, peak %3 of %4", what,
                       dropped_ - reported_, peak_, Capacity);
        reported_ = dropped_;
    }
}
