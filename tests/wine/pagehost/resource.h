// Resource ids of the page host (the pictures use the programs' own ids).
#pragma once

#define IDD_PAGEHOST 100
