#include "virtual_pstn_board.h"

#include <map>

namespace {

struct Board {
    VirtualPstnBoardState state{};
    int ready = 1;
    unsigned char dtmf = 0;
    std::map<unsigned char, unsigned short> eeprom;
};

Board& board()
{
    static Board b;
    return b;
}

}  // namespace

extern "C" {

#define BOARD_API __attribute__((visibility("default")))

BOARD_API void VirtualPstnBoardReset(void)
{
    board() = Board{};
}

BOARD_API void VirtualPstnBoardSetReady(int ready)
{
    board().ready = ready;
}

BOARD_API void VirtualPstnBoardDial(unsigned char code)
{
    board().dtmf = code;
}

BOARD_API VirtualPstnBoardState VirtualPstnBoardGetState(void)
{
    return board().state;
}

BOARD_API unsigned short VirtualPstnBoardWord(unsigned char address)
{
    return board().eeprom[address];
}

BOARD_API void VirtualPstnBoardSetWord(unsigned char address, unsigned short word)
{
    board().eeprom[address] = word;
}

// The board library's own functions.

BOARD_API unsigned char F3Load(int vendor, int product)
{
    Board& b = board();
    ++b.state.loads;
    b.state.loadVendor = vendor;
    b.state.loadProduct = product;
    return static_cast<unsigned char>(b.ready != 0);
}

BOARD_API void F3Close(void)
{
    ++board().state.closes;
    board().state.ringing = 0;
}

BOARD_API void SlicRingPhone(void)
{
    board().state.ringing = 1;
}

BOARD_API void SlicStopRing(void)
{
    board().state.ringing = 0;
}

BOARD_API unsigned char SlicDetectDtmfCode(void)
{
    return board().dtmf;
}

BOARD_API unsigned short FupReadEEProm(unsigned char address)
{
    return board().eeprom[address];
}

BOARD_API void FupWriteEEProm(unsigned char address, unsigned short word)
{
    board().eeprom[address] = word;
}
}
