#include "Code/Code_Function.h"
#include "Function/Function_Families.h"
#include "Variable/Variable_BuiltIn.h"

void Function_RegisterAll() {
    // Once per process: a second game start finds the table filled.
    if (Function_Count() > 0) {
        return;
    }
    Register_Game();
    Register_String();
    Register_File();
    Register_Interaction();
    Register_External();
    Register_Graphics();
    Register_Window();
    Register_Audio();
    Register_Handed();
}
