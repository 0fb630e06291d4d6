// The date built-ins; registered with the file family.
#pragma once

void Register_Date();
