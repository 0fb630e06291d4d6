#include "Code/Code_Function.h"
#include "Function/Function_Families.h"

// Filled in by the family's owner.
void Register_Graphics() {}
