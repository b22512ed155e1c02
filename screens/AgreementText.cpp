// The licence agreement shown by the agreement dialog. Each paragraph is one long line: the
// box wraps it.
#include "screens/AgreementText.h"

const char AgreementText[] =
    "MIRELQUIST SOFTWARE LICENSE AGREEMENT FOR PICTAVORN\r\n"

    "Please read this License Agreement carefully before you install or use the software.\r\n\r\n"

    "This License Agreement is a legal agreement between you, an individual or a single "
    "entity, and Mirelquist for the software product Pictavorn, which includes the "
    "computer programs, the associated media, the printed materials and the online or "
    "electronic documentation (together, the \"Software\"). By installing, copying or "
    "otherwise using the Software you agree to be bound by the terms of this License "
    "Agreement. If you do not agree to these terms, do not install or use the Software; "
    "leave the setup program with the Exit button, and return the complete package to the "
    "place where you obtained it for a full refund of the price you paid.\r\n\r\n"

    "1. GRANT OF LICENSE. Mirelquist grants you a non-exclusive, non-transferable license "
    "to install and use one copy of the Software on a single computer at a time. The "
    "Software is \"in use\" on a computer when it is loaded into the temporary memory or "
    "installed into the permanent memory, such as a hard disk, of that computer. If the "
    "Software is installed on a network server for the sole purpose of distribution to "
    "other computers, or if it is permanently installed on the hard disk of more than one "
    "computer, you must obtain a separate license for each computer on which the Software "
    "is used. You may make one copy of the Software solely for backup or archival "
    "purposes, provided that the copy carries the same copyright and other proprietary "
    "notices as the original disks. You may also transfer the Software to a hard disk, "
    "provided that you keep the original disks solely for backup or archival purposes. "
    "Pictures and other works that you create with the Software belong to you, and you "
    "may use, publish and distribute them as you wish. All rights that are not expressly "
    "granted to you in this License Agreement are reserved by Mirelquist.\r\n\r\n"

    "2. COPYRIGHT AND RESTRICTIONS. The Software is owned by Mirelquist and is protected "
    "by copyright laws and international treaty provisions. You must treat the Software "
    "like any other copyrighted material, except as stated in this License Agreement. You "
    "shall not rent, lease or lend the Software. You may not reverse engineer, decompile "
    "or disassemble the Software, except and only to the extent that applicable law "
    "expressly permits such activity notwithstanding this limitation. You may permanently "
    "transfer all of your rights under this License Agreement, provided that you keep no "
    "copies, that you transfer all of the Software, including all its parts, the media, "
    "the printed materials and this License Agreement, and that the recipient agrees to "
    "the terms of this License Agreement.\r\n\r\n"

    "3. LIMITED WARRANTY. Mirelquist warrants that the Software will perform "
    "substantially in accordance with the accompanying printed materials for a period of "
    "ninety (90) days from the date of receipt, and that the disks on which the Software "
    "is furnished will be free from defects in materials and workmanship under normal use "
    "for the same period. The entire liability of Mirelquist and your exclusive remedy "
    "shall be, at the option of Mirelquist, either the return of the price paid or the "
    "repair or replacement of the Software that does not meet this limited warranty and "
    "that is returned to Mirelquist with a copy of your receipt. This warranty is void if "
    "the failure has resulted from accident, abuse or misapplication.\r\n\r\n"

    "4. NO OTHER WARRANTIES AND NO LIABILITY FOR CONSEQUENTIAL DAMAGES. To the extent "
    "permitted by applicable law, Mirelquist disclaims all other warranties, either "
    "express or implied, including but not limited to implied warranties of "
    "merchantability and fitness for a particular purpose, with regard to the Software "
    "and the accompanying printed materials. In no event shall Mirelquist or its "
    "suppliers be liable for any damages whatsoever, including without limitation damages "
    "for loss of business profits, business interruption, loss of business information or "
    "any other pecuniary loss, arising out of the use of or inability to use the "
    "Software, even if Mirelquist has been advised of the possibility of such damages.\r\n\r\n"

    "5. GENERAL. This License Agreement is governed by the laws of the country in which "
    "you acquired the Software. If any provision of this License Agreement is found to be "
    "unenforceable, the remaining provisions shall remain in full force and effect.\r\n"

    "Should you have any questions concerning this License Agreement, or wish to contact "
    "Mirelquist, please write to the address given in the printed materials.\r\n"

    "Copyright (C) Mirelquist. All rights reserved.";
