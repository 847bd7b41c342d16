#include "print/PrintDlgSettings.h"

TPrintDlgSettings PrintDlgSettings;
