// The LZW encoder's string table: an open-addressing hash table of 8009 slots
// (a prime) with double hashing. An entry is one 32-bit word, key shl 12 or code,
// where key = prefix code x 256 + pixel index (below 2^20) and code is below 4096;
// a slot whose top 20 bits are all ones is empty.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/base/Object.h"

namespace gif {

class THashTable : public base::TObject {
 public:
  ANIMORA_CLASS(THashTable)
  THashTable() { Clear(); }

  void Clear() {
    std::memset(Slots, 0xFF, sizeof Slots);
    std::memset(Recent, 0xFF, sizeof Recent);
    MissKey = kNoKey;
  }

  // Stores the entry in the first empty slot of the key's probe sequence; the key
  // must not be in the table yet.
  void Add(uint32_t Key, uint32_t Code) {
    int32_t Index = MissSlot;
    if (Key != MissKey || !Empty(Slots[Index])) {
      Probe Slot(Key);
      while (!Empty(Slots[Slot.Index])) Slot.Step();
      Index = Slot.Index;
    }
    Slots[Index] = Recent[Key >> 8] = (Key << 12) | (Code & 0xFFF);
  }

  // The key's code, or -1.
  int32_t Find(uint32_t Key) {
    const uint32_t Last = Recent[Key >> 8];
    if ((Last >> 12) == Key) return static_cast<int32_t>(Last & 0xFFF);
    Probe Slot(Key);
    uint32_t Entry = Slots[Slot.Index];
    while ((Entry >> 12) != Key && !Empty(Entry)) {
      Slot.Step();
      Entry = Slots[Slot.Index];
    }
    if (Empty(Entry)) {
      // Where Add of this key will store it, as long as that slot stays empty.
      MissKey = Key;
      MissSlot = Slot.Index;
      return -1;
    }
    Recent[Key >> 8] = Entry;
    return static_cast<int32_t>(Entry & 0xFFF);
  }

 private:
  static constexpr int32_t kSize = 8009;
  static constexpr uint32_t kNoKey = 0xFFFFFFFF;

  static bool Empty(uint32_t Entry) { return (Entry >> 12) == 0xFFFFF; }

  // (Key xor (Key shr 4)) mod kSize; below 2^20, a multiplication by 2^40 / kSize
  // (rounded up) gives the exact quotient.
  static int32_t SlotOf(uint32_t Key) {
    const uint64_t Mixed = Key ^ (Key >> 4);
    const uint64_t Quotient = (Mixed * ((uint64_t{1} << 40) / kSize + 1)) >> 40;
    return static_cast<int32_t>(Mixed - Quotient * kSize);
  }

  // The step is fixed per key and prime to the table size, so the probes visit
  // every slot and always reach an empty one.
  struct Probe {
    explicit Probe(uint32_t Key)
        : Index(SlotOf(Key)),
          Displacement(Index == 0 ? 1 : kSize - Index) {}
    void Step() {
      Index -= Displacement;
      if (Index < 0) Index += kSize;
    }
    int32_t Index;
    int32_t Displacement;
  };

  uint32_t Slots[kSize];
  uint32_t Recent[1 << 12];  // by prefix code: the entry last found or added for it
  uint32_t MissKey = kNoKey;  // the last key Find did not find, and where it stopped
  int32_t MissSlot = 0;
};

}  // namespace gif
