#pragma once

// Returns after about n seconds, letting pending window events run meanwhile.
void Wait_Seconds(short n);
