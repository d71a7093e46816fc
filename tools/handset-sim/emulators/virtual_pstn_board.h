#pragma once

// A PSTN line board with a telephone connected to it, built as a stand-in for the board's own
// library (same file name, same functions). Whoever loads it steers and reads the board through
// the functions below.
extern "C" {

struct VirtualPstnBoardState {
    int loads;       // calls of F3Load
    int loadVendor;  // arguments of the last F3Load
    int loadProduct;
    int closes;   // calls of F3Close
    int ringing;  // 1 between SlicRingPhone and SlicStopRing
};

void VirtualPstnBoardReset(void);
// What F3Load answers (non-zero: ready).
void VirtualPstnBoardSetReady(int ready);
// The code the DTMF detector reports from now on; 0 when the telephone's key is let go.
void VirtualPstnBoardDial(unsigned char code);
struct VirtualPstnBoardState VirtualPstnBoardGetState(void);
unsigned short VirtualPstnBoardWord(unsigned char address);
void VirtualPstnBoardSetWord(unsigned char address, unsigned short word);
}
