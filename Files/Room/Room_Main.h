// Rooms and instances: starting and ending rooms, the pending room, and running events over instances.
#pragma once
#include <cstdint>
#include <vector>

struct CInstance;
struct CRoom;
struct GameData;

constexpr int NoPendingRoom = -1;
constexpr int PendingGameEnd = -100;
constexpr int PendingGameRestart = -200;
constexpr int PendingGameLoad = -300;
constexpr int PendingGameSwitch = -400;

int Room_PendingRoom();
// The count of event dispatches so far, which stamps the instances created; frames run ahead and
// taken back put it back.
uint64_t Room_DispatchStamp();
void Room_SetDispatchStamp(uint64_t stamp);
void Room_SetPendingRoom(int room);
bool Room_CurrentIsPersistent();
CRoom* Room_Current();

bool Room_Prepare(const GameData& data);
// Resets rooms and instances (between games and in tests).
void Room_Reset();

// Makes an instance of the object, registered by id and in the room's active list.
CInstance* Instance_Create(int objectIndex, double x, double y, int id);
CInstance* Instance_Find(int id);
// Drops instances marked as destroyed from every list.
void Room_RemoveDestroyed();

void Room_Start(int roomIndex, bool first);
void Room_End(bool gameEnding);
// Ending the game after the loop: the room ends with game ending, every room object goes.
void Room_EndGame();

// Runs (type, subtype) for every active instance; nothing while a room change is pending.
void Room_RunEventForAll(int type, int subtype);
// Step-type dispatch by ascending object index with the creation-stamp rule.
void Room_DispatchStep(int subtype);
// Draw-type events over the layers (Draw also draws sprites of objects without a Draw event).
void Room_DispatchDraw(int subtype);
// Draws the room: background elements and instance Draw events, layers deepest first.
void Room_DrawLayers();
