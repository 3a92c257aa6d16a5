#pragma once

// The program's windows. The numbers fix the order in which they are closed on exit.
enum class FormId { Form1 = 1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9 };
