#pragma once

// Makes assistive technology see each dot of the grid as a check box named after its row and
// column, checked while lit, whose toggle action is a click. Safe to call more than once.
void installDotAccessibility();
